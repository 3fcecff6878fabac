#include "velnorapplication.h"

#include <exception>

#include "game/boardaccessible.h"
#include "windows/dialogs.h"
#include "windows/lazyiconstyle.h"
#include "windows/tfont.h"

namespace velnor {

VelnorApplication::VelnorApplication(int& argc, char** argv, Dialogs& dialogs)
    : QApplication(argc, argv), dialogs_(dialogs) {
  setApplicationName("velnorsolo");
  setStyle(new LazyIconStyle);
  register_font_substitutions();
  install_accessibility();
}

bool VelnorApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    dialogs_.error(activeWindow(), QString::fromUtf8(error.what()));
  } catch (...) {
    dialogs_.error(activeWindow(), translate("VelnorApplication", "Unknown error"));
  }
  return false;
}

}  // namespace velnor
