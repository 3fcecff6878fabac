// What measuring a high-score page costs, and what the HTML view takes to show the worst page
// that each limit of the measure lets through (Google Benchmark, offscreen). The limits are
// chosen so that each of these stays near a second or below on a small machine.
#include <QApplication>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <string>

#include "online/pagemeasure.h"
#include "windows/htmlview.h"

namespace {

std::string repeated(const std::string& piece, int times) {
  return QByteArray::fromStdString(piece).repeated(times).toStdString();
}

std::string rows(int count) {
  return "<table>" +
         repeated(
             "<tr bgcolor=\"#FFFFE8\"><td align=\"right\">1</td><td>Abcdefghij</td><td align=\"right\"><b>650</b>"
             "</td><td>12/31/26</td></tr>\n",
             count) +
         "</table>";
}

// The worst page each limit allows, by name.
const struct {
  const char* name;
  std::string page;
} kPages[] = {
    {"server_page_2900_rows", rows(2900)},
    {"tables_4_deep", repeated(repeated("<table><tr><td>", 4) + "x" + repeated("</td></tr></table>", 4), 1665)},
    {"grid_of_a_wide_row",
     "<table><tr><td colspan=10>x</td></tr>" + repeated("<tr><td>x</td></tr>", 1199) + "</table>"},
    {"words_of_256_bytes", repeated(std::string(256, 'x') + " ", 4000)},
    {"lines_in_pre", "<pre>" + repeated(std::string(50, 'x') + "\n", 19990) + "</pre>"},
    {"style_on_every_element", "<style>" + repeated("*{color:red}", 24) + "</style>" + repeated("<b>x</b> ", 19960)},
    {"inline_31_deep", repeated(repeated("<b>", 29) + "x" + repeated("</b>", 29) + " ", 689)},
};

void measure(benchmark::State& state, const std::string& page) {
  for (auto _ : state) benchmark::DoNotOptimize(velnor::measure_page(page));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// Loading, then laying out to the end, as the high-score window's view would.
void show(benchmark::State& state, const std::string& page) {
  if (velnor::measure_page(page) != velnor::PageFault::none) return state.SkipWithError("the page is refused");
  velnor::HtmlView view;
  view.resize(479, 505);
  view.show();
  const QString html = QString::fromStdString(page);
  for (auto _ : state) {
    view.load_html(html);
    view.moveCursor(QTextCursor::End);
    view.ensureCursorVisible();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  for (const auto& p : kPages) {
    benchmark::RegisterBenchmark((std::string("measure/") + p.name).c_str(), measure, p.page);
    benchmark::RegisterBenchmark((std::string("show/") + p.name).c_str(), show, p.page)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
