#include "secondarywindow.h"

#include <QWidget>

#include "windows/fixedframe.h"
#include "windows/formcontrols.h"
#include "windows/tcolor.h"
#include "windows/tfont.h"
#include "windows/tlbbackground.h"
#include "windows/windowplacement.h"

namespace velnor {

TLbBackground* set_up_secondary_window(QWidget* window, const SecondaryLook& look) {
  window->setObjectName(look.name);
  window->setWindowTitle(look.title);
  hide_on_escape(window);
  switch (look.place) {
    case SecondaryPlace::on_owner_first:
    case SecondaryPlace::on_owner_always:
      keep_placed(window, look.place == SecondaryPlace::on_owner_first ? PlaceAt::first_show : PlaceAt::every_show,
                  [window] {
                    return window->parentWidget() != nullptr ? centred_on(window, window->parentWidget())
                                                             : outer_bounds(window);
                  });
      break;
    case SecondaryPlace::beside_owner_first:
      keep_placed(window, PlaceAt::first_show, [window] {
        return window->parentWidget() != nullptr ? beside(window, window->parentWidget()) : outer_bounds(window);
      });
      break;
    case SecondaryPlace::on_desktop_first:
      keep_placed(window, PlaceAt::first_show, [window] {
        QRect frame = outer_bounds(window);
        const QRect work = work_area_for(frame);
        frame.moveCenter(work.center());
        return fit_into(frame, work);
      });
      break;
  }
  if (look.size.isEmpty()) {
    window->resize(QSize(523, 431));
    offer_no_frame_resizing(window);
  } else if (look.taller) {
    window->setFixedWidth(look.size.width());
    window->setMinimumHeight(look.size.height());
    window->resize(look.size);
  } else {
    window->setFixedSize(look.size);
    // A window that cannot change size offers no button to minimise or maximise it.
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  }
  set_window_color(window, kWindowColor);
  window->setAutoFillBackground(true);
  window->setFont(tfont(kFormFont, -11));
  auto* background = new TLbBackground(window);
  background->setObjectName("LbBackground1");
  background->setEnabled(true);
  return background;
}

}  // namespace velnor
