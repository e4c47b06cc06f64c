#pragma once

// The state and keys of the on-screen keyboard (CJianPanDlg), without the dialog: the text
// typed so far (GBK) and the three toggles "CAPS  LOCK", "SHIFT" and "中文标点" (Chinese
// punctuation), which choose what each key types.

#include <string>
#include <string_view>
#include <vector>

#include "controls/TesselixExport.h"

namespace quarrant {

class TESSELIX_EXPORT KeyboardState {
public:
    // The character keys in keyboard order, each named by what it types with every toggle off:
    // the digit row with "-", "=", "`"; q-p with "[", "]", "\"; a-l with ";", "'"; z-m with
    // ",", ".", "/".
    static const std::vector<char>& CharacterKeys();

    // What the key types in the current state (GBK); empty for an unknown key.
    std::string KeyText(char key) const;
    // Appends what the key types; returns the whole typed text.
    const std::string& PressKey(char key);
    const std::string& PressSpace();
    // Removes the last character: two bytes of a double-byte character, else one byte.
    const std::string& PressBackspace();
    // "清空所有数据": empties the typed text.
    const std::string& PressClearAll();

    void SetCapsLock(bool on) { m_capsLock = on; }
    void SetShift(bool on) { m_shift = on; }
    void SetChinesePunctuation(bool on) { m_chinese = on; }
    bool Shift() const { return m_shift; }

    // Opening with a text: it becomes the typed text.
    void SetText(std::string_view text) { m_text.assign(text.data(), text.size()); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
    bool m_capsLock = false;
    bool m_shift = false;
    bool m_chinese = false;
};

}  // namespace quarrant
