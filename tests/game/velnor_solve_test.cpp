// velnor-solve's command line: a wrong one is explained and fails, never crashes
// or answers for tiles that were not asked about.
#include <gtest/gtest.h>

#include "e2e/command.h"
#include "game/solver.h"

using velnor::testing::run_command;

TEST(VelnorSolve, WrongCommandLinesAreExplainedWithStatusTwo) {
  const QList<QStringList> wrong = {{"--open", "113", "--roll", "4"},  // a tile twice
                                    {"--open", "105", "--roll", "6"},  // no tile 0
                                    {"--open", "1a", "--roll", "3"},
                                    {"--open", "", "--roll", "3"},
                                    {"--open", "135", "--roll", "13"},
                                    {"--open", "135", "--roll", "1"},
                                    {"--open", "135", "--roll", "6x"},
                                    {"--open", "135", "--roll", "-6"},
                                    {"--open", "135", "--roll"},  // a value missing at the end
                                    {"--open", "135"},            // no roll
                                    {"--roll", "6", "--roll", "7", "--open", "1"},
                                    {"--frobnicate"}};
  for (const QStringList& args : wrong) {
    const auto result = run_command(VELNOR_SOLVE_PROGRAM, args);
    EXPECT_EQ(result.status, 2) << args.join(' ').toStdString() << ": " << result.describe().toStdString();
    EXPECT_TRUE(result.err.startsWith("velnor-solve: ")) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
  }

  const auto result = run_command(VELNOR_SOLVE_PROGRAM, {"--open", "135", "--roll", "6"});
  ASSERT_TRUE(result.ok) << result.describe().toStdString();
  const double after = velnor::Solver::table().expected(1u << 2);  // 1+5 leaves tile 3
  EXPECT_TRUE(result.out.contains("1+5       " + QByteArray::number(after, 'f', 4))) << result.out.toStdString();
}
