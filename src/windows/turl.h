#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace velnor {

enum TURLType { utFile, utFtp, utGopher, utHttp, utHttps, utMailto, utNews, utTelnet, utWais, utnone };

// The text put in front of an address of the scheme.
QString url_prefix(TURLType type);

// Holds a web address and hands it to the desktop, which opens it in the
// player's browser.
class TURL {
 public:
  // Starts a program detached with an argument list; true when it started.
  using Launcher = std::function<bool(const QString& program, const QStringList& args)>;

  // The default starts the program with QProcess::startDetached.
  explicit TURL(Launcher launcher = {});

  QString URL;
  TURLType URLType = utHttp;

  // Starts xdg-open on the prefix and the address, whole and as one argument,
  // never through a shell. False for an empty address or when nothing started.
  bool Open();

 private:
  Launcher launcher_;
};

}  // namespace velnor
