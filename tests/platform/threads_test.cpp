// What a job's starter and its worker thread share: the auto-reset cancel
// event and the queue the worker's messages arrive in.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/auto_reset_event.h"
#include "platform/message_queue_notifier.h"

namespace zv {
namespace {

TEST(AutoResetEvent, OneSetReleasesOneWaitAndResetClears) {
  AutoResetEvent event;
  EXPECT_FALSE(event.tryWait());
  event.set();
  event.set();
  EXPECT_TRUE(event.tryWait());
  EXPECT_FALSE(event.tryWait());  // consumed by the first
  event.set();
  event.reset();
  EXPECT_FALSE(event.tryWait());

  event.set();
  event.wait();  // a signal set before the wait is not lost
  EXPECT_FALSE(event.tryWait());

  std::thread setter([&event] { event.set(); });
  event.wait();  // returns only once the other thread has set it
  setter.join();
  EXPECT_FALSE(event.tryWait());
}

// Two waiters and two signals: each signal releases one waiter, so both
// return and no signal is left over.
TEST(AutoResetEvent, EachSignalReleasesOneOfSeveralWaiters) {
  AutoResetEvent event;
  AutoResetEvent released;
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i) {
    waiters.emplace_back([&] {
      event.wait();
      released.set();
    });
  }
  event.set();
  released.wait();
  event.set();
  released.wait();
  for (std::thread& waiter : waiters) waiter.join();
  EXPECT_FALSE(event.tryWait());
}

TEST(MessageQueueNotifier, MessagesComeBeforeAPendingWakeUp) {
  MessageQueueNotifier queue;
  queue.post(1025, 40);
  queue.wake();
  queue.post(1026, 0);
  auto first = queue.waitNext();
  auto second = queue.waitNext();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->message, 1025u);
  EXPECT_EQ(first->wParam, 40u);
  EXPECT_EQ(second->message, 1026u);
  EXPECT_FALSE(queue.waitNext().has_value());
}

// Messages posted by one thread arrive in the order posted, and a receiver
// blocked before any message is woken by the first.
TEST(MessageQueueNotifier, AnotherThreadsMessagesArriveInOrder) {
  MessageQueueNotifier queue;
  std::thread worker([&queue] {
    for (std::uintptr_t i = 0; i < 1000; ++i) queue.post(1025, i);
    queue.post(1026, 0);
  });
  std::uintptr_t expected = 0;
  for (;;) {
    const auto message = queue.waitNext();
    ASSERT_TRUE(message.has_value());
    if (message->message == 1026u) break;
    EXPECT_EQ(message->wParam, expected++);
  }
  worker.join();
  EXPECT_EQ(expected, 1000u);
  EXPECT_TRUE(queue.takeAll().empty());
}

}  // namespace
}  // namespace zv
