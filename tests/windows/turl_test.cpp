#include "windows/turl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

using velnor::TURL;
using velnor::TURLType;

namespace {

// Records what would be started instead of starting it.
struct RecordingLauncher {
  std::vector<std::pair<QString, QStringList>> started;
  bool starts = true;
  TURL::Launcher launcher() {
    return [this](const QString& program, const QStringList& args) {
      started.emplace_back(program, args);
      return starts;
    };
  }
};

TEST(TURL, EachSchemePutsItsPrefixInFront) {
  const std::pair<TURLType, QString> expected[] = {
      {velnor::utFile, "file://example.org/a"},     {velnor::utFtp, "ftp://example.org/a"},
      {velnor::utGopher, "gopher://example.org/a"}, {velnor::utHttp, "http://example.org/a"},
      {velnor::utHttps, "https://example.org/a"},   {velnor::utMailto, "mailto:example.org/a"},
      {velnor::utNews, "news:example.org/a"},       {velnor::utTelnet, "telnet:example.org/a"},
      {velnor::utWais, "wais:example.org/a"},       {velnor::utnone, "example.org/a"},
  };
  RecordingLauncher opener;
  TURL url(opener.launcher());
  EXPECT_EQ(url.URLType, velnor::utHttp);
  url.URL = "example.org/a";
  for (const auto& [type, address] : expected) {
    url.URLType = type;
    EXPECT_TRUE(url.Open());
    EXPECT_EQ(opener.started.back(), std::make_pair(QString("xdg-open"), QStringList{address}));
  }

  // The prefix goes in front even of an address that already has one.
  url.URLType = velnor::utHttp;
  url.URL = "http://example.org/";
  url.Open();
  EXPECT_EQ(opener.started.back().second, QStringList{"http://http://example.org/"});
}

TEST(TURL, AnEmptyAddressStartsNothing) {
  RecordingLauncher opener;
  TURL url(opener.launcher());
  EXPECT_FALSE(url.Open());
  url.URLType = velnor::utnone;
  EXPECT_FALSE(url.Open());
  EXPECT_TRUE(opener.started.empty());
}

TEST(TURL, ALongAddressIsHandedOverWhole) {
  RecordingLauncher opener;
  TURL url(opener.launcher());
  url.URLType = velnor::utnone;
  url.URL = "http://127.0.0.1/counter/velnorsolo.shtml?" + QString(300, 'q') + "&end=1";
  EXPECT_TRUE(url.Open());
  EXPECT_EQ(opener.started.back().second, QStringList{url.URL});

  opener.starts = false;
  EXPECT_FALSE(url.Open());
}

// The real launcher, with a stand-in xdg-open first on the PATH that writes
// down the arguments it got.
TEST(TURL, TheDesktopOpenerGetsTheAddressAsOneArgumentWithoutAShell) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString log = dir.filePath("opened");
  QFile script(dir.filePath("xdg-open"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '%1.part' && mv '%1.part' '%1'\n").arg(log).toUtf8());
  script.close();
  script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(dir.path()) + ":" + path);

  TURL url;
  url.URLType = velnor::utnone;
  url.URL = "http://127.0.0.1/a b?x=$(touch " + dir.filePath("ran") + ");touch " + dir.filePath("ran2");
  const bool started = url.Open();
  qputenv("PATH", path);
  ASSERT_TRUE(started);

  // The opener runs on its own; its output shows up once it has finished.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!QFileInfo::exists(log) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  QFile opened(log);
  ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(opened.readAll()), "1\n" + url.URL + "\n");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("ran")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("ran2")));
}

}  // namespace
