#include "ttallylist.h"

namespace velnor {

Ttallylist::Ttallylist(QWidget* parent) : QWidget(parent) {
  setObjectName("Ttallylist");
  setWindowTitle("Velnor Solo - Tally List");
}

void Ttallylist::addtomineincrease(int which) {
  if (which == 1) ++games_;
  if (which == 2) ++allshut_;
}

void Ttallylist::checkscore(int, const QString&) {}

}  // namespace velnor
