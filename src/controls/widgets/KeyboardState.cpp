#include "controls/widgets/KeyboardState.h"

#include <cctype>
#include <cstring>

namespace quarrant {
namespace {

// What a digit or punctuation key types: plain, with "SHIFT", with "中文标点", with both.
struct PunctuationKey {
    char key;
    const char* plain;
    const char* shift;
    const char* chinese;
    const char* chineseShift;
};

const PunctuationKey kPunctuation[] = {
    {'1', "1", "!", "1", "\xA3\xA1"},                 // ！
    {'2', "2", "@", "2", "\xA1\xF2"},                 // ◎
    {'3', "3", "#", "3", "\xA3\xA3"},                 // ＃
    {'4', "4", "$", "4", "\xA3\xA4"},                 // ￥
    {'5', "5", "%", "5", "\xA3\xA5"},                 // ％
    {'6', "6", "^", "6", "\xA1\xAD\xA1\xAD"},         // ……
    {'7', "7", "&", "7", "\xA1\xF9"},                 // ※
    {'8', "8", "*", "8", "\xA1\xC1"},                 // ×
    {'9', "9", "(", "9", "\xA3\xA8"},                 // （
    {'0', "0", ")", "0", "\xA3\xA9"},                 // ）
    {'-', "-", "_", "\xA3\xAD", "\xA1\xAA\xA1\xAA"},  // －, ——
    {'=', "=", "+", "\xA3\xBD", "\xA3\xAB"},          // ＝, ＋
    {'`', "`", "~", "\xA1\xA4", "\xA1\xAB"},          // ·, ～
    {'[', "[", "{", "\xA1\xBE", "\xA1\xBA"},          // 【, 『
    {']', "]", "}", "\xA1\xBF", "\xA1\xBB"},          // 】, 』
    {'\\', "\\", "|", "\xA1\xC2", "\xA1\xEC"},        // ÷, §
    {';', ";", ":", "\xA3\xBB", "\xA3\xBA"},          // ；, ：
    {',', ",", "<", "\xA3\xAC", "\xA1\xB6"},          // ，, 《
    {'.', ".", ">", "\xA1\xA3", "\xA1\xB7"},          // 。, 》
    {'/', "/", "?", "\xA1\xA2", "\xA3\xBF"},          // 、, ？
};

// Byte length of the GBK (GB18030) character starting at text[i].
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 >= text.size()) {
        return 1;
    }
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second >= 0x30 && second <= 0x39 && i + 3 < text.size()) {
        return 4;  // a four-byte GB18030 character
    }
    return 2;
}

}  // namespace

const std::vector<char>& KeyboardState::CharacterKeys() {
    static const std::vector<char> keys = [] {
        std::vector<char> all;
        for (const char* row : {"1234567890-=`", "qwertyuiop[]\\", "asdfghjkl;'", "zxcvbnm,./"}) {
            all.insert(all.end(), row, row + std::strlen(row));
        }
        return all;
    }();
    return keys;
}

std::string KeyboardState::KeyText(char key) const {
    if (key >= 'a' && key <= 'z') {
        // Upper case when exactly one of the two toggles is on.
        return std::string(1, m_capsLock != m_shift ? static_cast<char>(key - 'a' + 'A') : key);
    }
    if (key == '\'') {
        if (!m_chinese) {
            return m_shift ? "\"" : "'";
        }
        if (!m_capsLock) {
            return m_shift ? "\xA1\xB1" : "\xA1\xAF";  // ” or ’
        }
        return m_shift ? "\xA1\xB0" : "\xA1\xAE";  // “ or ‘
    }
    for (const PunctuationKey& entry : kPunctuation) {
        if (entry.key == key) {
            if (m_chinese) {
                return m_shift ? entry.chineseShift : entry.chinese;
            }
            return m_shift ? entry.shift : entry.plain;
        }
    }
    return std::string();
}

const std::string& KeyboardState::PressKey(char key) {
    m_text += KeyText(key);
    return m_text;
}

const std::string& KeyboardState::PressSpace() {
    m_text += ' ';
    return m_text;
}

const std::string& KeyboardState::PressBackspace() {
    // Walk the characters from the start: a trail byte of a double-byte character may look
    // like a single-byte one, so the last character is only known from its lead byte.
    std::size_t last = 0;
    for (std::size_t i = 0; i < m_text.size(); i += CharacterLength(m_text, i)) {
        last = i;
    }
    m_text.resize(last);
    return m_text;
}

const std::string& KeyboardState::PressClearAll() {
    m_text.clear();
    return m_text;
}

}  // namespace quarrant
