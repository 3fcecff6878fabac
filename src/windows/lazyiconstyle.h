#pragma once

#include <QProxyStyle>

namespace velnor {

// The platform's style, except that the icons of toolbar extension buttons are made the first
// time they are drawn. A menu bar makes such a button as it is built and asks for its icon at
// once; Qt reads the icon's file by asking every image plugin whether it can, which loads them
// all before the first paint, for a button the game's menu bar (far narrower than its window)
// never shows.
class LazyIconStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace velnor
