// The overflow icon that the style makes late must be the platform style's own once drawn.
#include "windows/lazyiconstyle.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(LazyIconStyle, OverflowIconsAreTheBaseStylesWhenDrawnAndOthersPassThrough) {
  LazyIconStyle style;
  for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
                           QStyle::SP_MessageBoxWarning}) {
    SCOPED_TRACE(which);
    const QIcon late = style.standardIcon(which);
    const QIcon own = style.baseStyle()->standardIcon(which);
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(late.actualSize(QSize(32, 32)), own.actualSize(QSize(32, 32)));
    EXPECT_EQ(late.pixmap(16, 16).toImage(), own.pixmap(16, 16).toImage());
    EXPECT_EQ(late.pixmap(QSize(16, 16), 2.0).toImage(), own.pixmap(QSize(16, 16), 2.0).toImage());
  }
}

}  // namespace
}  // namespace velnor
