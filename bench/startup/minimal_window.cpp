// The floor that bench/startup_bench.sh compares the game's start-up with: a Qt Widgets
// program that shows one main window holding a label, and nothing else.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Minimal Window");
  window.setCentralWidget(new QLabel("A main window with a label."));
  window.resize(681, 327);  // the game's default size, so that both paint and flush as many pixels
  window.show();
  return app.exec();
}
