// Shows arbitrary pages in the HTML view, with an inline image of arbitrary
// bytes among them, and draws them, as the high-score window would.
#include "windows/htmlview.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QByteArray>

#include <cstdlib>

namespace {

QApplication* application = nullptr;
velnor::HtmlView* view = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  application = new QApplication(*argc, *argv);
  view = new velnor::HtmlView;
  view->resize(481, 507);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  static const char* const kTypes[] = {"image/png", "image/jpeg", "image/gif", "IMAGE/PNG", "text/html"};
  const char* type = kTypes[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kTypes) - 1)];
  const std::string image = input.ConsumeRandomLengthString(4096);
  const std::string before = input.ConsumeRandomLengthString(2048);
  const std::string after = input.ConsumeBytesAsString(input.remaining_bytes());
  const QByteArray encoded = QByteArray::fromStdString(image).toBase64();
  view->load_html(QString::fromUtf8(before) + "<img src=\"data:" + type + ";base64," + QString::fromLatin1(encoded) +
                  "\">" + QString::fromUtf8(after));
  view->grab();
  return 0;
}
