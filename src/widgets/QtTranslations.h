// The toolkit's own texts (file dialog, message box buttons, font dialog, text field
// menus) in Traditional Chinese, like the rest of the program.
#pragma once

namespace zavuv {

// Installs the toolkit's Traditional Chinese translations (qtbase_zh_TW) on the
// application. False when they are not installed; the toolkit then speaks English.
bool LoadToolkitTranslations();

}  // namespace zavuv
