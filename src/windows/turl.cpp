#include "turl.h"

#include <QProcess>

namespace velnor {

QString url_prefix(TURLType type) {
  switch (type) {
    case utFile:
      return QStringLiteral("file://");
    case utFtp:
      return QStringLiteral("ftp://");
    case utGopher:
      return QStringLiteral("gopher://");
    case utHttp:
      return QStringLiteral("http://");
    case utHttps:
      return QStringLiteral("https://");
    case utMailto:
      return QStringLiteral("mailto:");
    case utNews:
      return QStringLiteral("news:");
    case utTelnet:
      return QStringLiteral("telnet:");
    case utWais:
      return QStringLiteral("wais:");
    case utnone:
      break;
  }
  return {};
}

TURL::TURL(Launcher launcher) : launcher_(std::move(launcher)) {
  if (!launcher_)
    launcher_ = [](const QString& program, const QStringList& args) { return QProcess::startDetached(program, args); };
}

bool TURL::Open() {
  if (URL.isEmpty()) return false;
  return launcher_(QStringLiteral("xdg-open"), {url_prefix(URLType) + URL});
}

}  // namespace velnor
