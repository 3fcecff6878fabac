// What measuring a high-score page costs, and what the HTML view takes to show the worst page
// that each limit of the measure lets through (Google Benchmark, offscreen). The limits are
// chosen so that each of these stays near a second or below on a small machine. Each show/
// run reports its page's cost and the microseconds of layout per unit of cost: a ratio well
// above 1 on a machine says the cost model undercounts there.
#include <QApplication>
#include <QElapsedTimer>
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
    {"server_page_1100_rows", rows(1100)},
    {"tables_4_deep", repeated(repeated("<table><tr><td>", 4) + "x" + repeated("</td></tr></table>", 4), 1000)},
    {"grid_of_a_wide_row", "<table><tr><td colspan=10>x</td></tr>" + repeated("<tr><td>x</td></tr>", 449) + "</table>"},
    {"words_of_256_bytes", repeated(std::string(256, 'x') + " ", 1900)},
    {"lines_in_pre", "<pre>" + repeated(std::string(50, 'x') + "\n", 9700) + "</pre>"},
    {"style_on_every_element", "<style>" + repeated("*{color:red}", 24) + "</style>" + repeated("<b>x</b> ", 19960)},
    {"inline_31_deep", repeated(repeated("<b>", 29) + "x" + repeated("</b>", 29) + " ", 689)},
    {"images_in_one_paragraph", repeated("<img src=x width=8 height=8>", 960)},
    {"images_at_view_size", repeated("<p><img src=x width=479 height=505>", 1650)},
    {"cells_beside_images", rows(500) + repeated("<p><img src=x width=100 height=100>", 2000)},
    // Refused before the view was given their stated sizes, now shown at the view's.
    {"images_stated_huge", repeated("<p><img src=x width=30000 height=30000>", 1650)},
};

constexpr velnor::ImageBox kView{479, 505};

void measure(benchmark::State& state, const std::string& page) {
  for (auto _ : state) benchmark::DoNotOptimize(velnor::measure_page(page, kView));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// Loading, then laying out to the end, as the high-score window's view would.
void show(benchmark::State& state, const std::string& page) {
  const velnor::MeasuredPage measured = velnor::measure_page(page, kView);
  if (measured.fault != velnor::PageFault::none) return state.SkipWithError("the page is refused");
  velnor::HtmlView view;
  view.resize(kView.width, kView.height);
  view.show();
  const QString html = QString::fromStdString(measured.page);
  QElapsedTimer clock;
  clock.start();
  for (auto _ : state) {
    view.load_html(html);
    view.moveCursor(QTextCursor::End);
    view.ensureCursorVisible();
  }
  const double microseconds =
      static_cast<double>(clock.nsecsElapsed()) / 1000.0 / static_cast<double>(state.iterations());
  state.counters["cost"] = static_cast<double>(measured.cost);
  state.counters["us_per_cost"] = measured.cost > 0 ? microseconds / static_cast<double>(measured.cost) : 0.0;
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
