#pragma once

#include "talignment.h"

#include <QString>
#include <QWidget>

#include <cstdint>

namespace velnor {

// A container with a one-pixel frame in two colours and an optional one-line
// caption. Opaque, it fills itself with its colour; transparent, it leaves its
// background alone so that its parent's picture shows through.
class TFlatPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TFlatPanel(QWidget* parent = nullptr);

  void setTransparent(bool transparent);
  void setColorHighLight(std::uint32_t color);
  void setColorShadow(std::uint32_t color);
  // An own colour ends the use of the parent's.
  void setColor(std::uint32_t color);
  void setParentColor(bool parent_color);
  void setCaption(const QString& caption);
  const QString& caption() const { return caption_; }
  void setAlignment(TAlignment alignment);
  void setFontColor(std::uint32_t color);
  void setTag(int tag) { tag_ = tag; }
  int tag() const { return tag_; }
  void setHint(const QString& hint) { hint_ = hint; }
  QString hint() const { return hint_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The colour the panel fills itself with: its own, or its parent's.
  QColor effective_color() const;
  void color_changed();

  bool transparent_ = false;
  std::uint32_t color_high_light_;
  std::uint32_t color_shadow_;
  std::uint32_t color_;
  bool parent_color_ = true;
  QString caption_;
  TAlignment alignment_ = TAlignment::taCenter;
  std::uint32_t font_color_;
  int tag_ = 0;
  QString hint_;
};

}  // namespace velnor
