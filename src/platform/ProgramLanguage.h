#pragma once

// The toolkit's own texts (message-box buttons, file dialogs, the standard context menus) in
// Chinese, like the rest of the interface: Qt's translation qtbase_zh_CN (Debian package
// qt6-translations-l10n) is installed into the application.

namespace quarrant {

// Installs the translation once per application; false when it is not installed on the
// machine (the standard texts then stay English).
bool InstallChineseStandardTexts();

}  // namespace quarrant
