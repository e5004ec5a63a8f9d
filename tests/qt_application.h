// One Qt application object for a test program, from its first test to its last, on the offscreen
// platform ctest names: testing::AddGlobalTestEnvironment(new QtApplication<QApplication>).
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

template <typename Application>
class QtApplication : public testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<Application>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[8] = "test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<Application> application_;
};
