#include "fixedframe.h"

#include <xcb/xcb.h>
#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace velnor {

namespace {

// The window manager hints every X window manager reads. Qt writes them itself and always
// offers resizing; a window manager that is offered it draws a handle under the window.
struct MotifHints {
  static constexpr std::uint32_t kFunctions = 1, kDecorations = 2;
  static constexpr std::uint32_t kMove = 4, kMinimize = 8, kClose = 32;
  static constexpr std::uint32_t kBorder = 2, kTitle = 8, kMenu = 16, kMinimizeButton = 32;
};

xcb_atom_t motif_hints_atom(xcb_connection_t* connection) {
  static constexpr std::string_view kName = "_MOTIF_WM_HINTS";
  static const xcb_atom_t atom = [connection] {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(kName.size()), kName.data()), nullptr);
    const xcb_atom_t found = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
  }();
  return atom;
}

void write_hints(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  const xcb_atom_t atom = motif_hints_atom(connection);
  if (atom == XCB_ATOM_NONE) return;
  const std::array<std::uint32_t, 5> hints = {
      MotifHints::kFunctions | MotifHints::kDecorations, MotifHints::kMove | MotifHints::kMinimize | MotifHints::kClose,
      MotifHints::kBorder | MotifHints::kTitle | MotifHints::kMenu | MotifHints::kMinimizeButton, 0, 0};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), atom, atom, 32,
                      static_cast<std::uint32_t>(hints.size()), hints.data());
}

// Qt writes its own hints again whenever it remakes the window's flags, which hides the
// window first; writing them at every show, before the window is mapped, keeps them ours.
class FrameHintsKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) write_hints(static_cast<QWidget*>(watched));
    return false;
  }
};

}  // namespace

void offer_no_frame_resizing(QWidget* window) {
  if (!window->isWindow()) return;
  window->installEventFilter(new FrameHintsKeeper(window));
}

}  // namespace velnor
