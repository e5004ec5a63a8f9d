// One Qt application object for a whole test program, made before its first test and deleted
// after its last; ctest puts Qt on its offscreen platform. A test file adds it once, with
// testing::AddGlobalTestEnvironment(new QtApplication<QApplication>).
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
