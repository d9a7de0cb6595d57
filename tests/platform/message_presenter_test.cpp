// The presenter for programs without a window: each message one line on
// stderr, and nobody there to answer a question.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/message_presenter.h"

namespace zv {
namespace {

TEST(StderrMessagePresenter, WritesOneLineAndAnswersWhatNobodyCanAnswer) {
  StderrMessagePresenter presenter("tool: ");
  ::testing::internal::CaptureStderr();
  const MessageAnswer information =
      presenter.present({"Z&V Tavelworks", "The file is bad.", MessageKind::Information});
  const MessageAnswer question =
      presenter.present({"Z&V Tavelworks", "Replace it?", MessageKind::Question});
  const std::string written = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(information, MessageAnswer::Ok);
  EXPECT_EQ(question, MessageAnswer::No);
  // The caption is the window's title: a line on stderr has no place for it.
  EXPECT_EQ(written, "tool: The file is bad.\ntool: Replace it?\n");
}

// Each message is written in one piece, so the lines of jobs running side by
// side never interleave.
TEST(StderrMessagePresenter, LinesFromSeveralThreadsStayWhole) {
  StderrMessagePresenter presenter;
  constexpr int kThreads = 4;
  constexpr int kLinesEach = 50;
  ::testing::internal::CaptureStderr();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&presenter, t] {
      const std::string line(300, static_cast<char>('a' + t));  // one letter per thread
      for (int i = 0; i < kLinesEach; ++i) presenter.present({"", line, MessageKind::Information});
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::istringstream written(::testing::internal::GetCapturedStderr());
  std::map<char, int> linesOf;
  for (std::string line; std::getline(written, line);) {
    ASSERT_EQ(line, std::string(300, line.front()));
    ++linesOf[line.front()];
  }
  ASSERT_EQ(linesOf.size(), static_cast<std::size_t>(kThreads));
  for (const auto& [letter, count] : linesOf) EXPECT_EQ(count, kLinesEach) << letter;
}

}  // namespace
}  // namespace zv
