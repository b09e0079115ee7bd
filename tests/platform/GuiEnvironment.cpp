// Painting with pattern brushes needs a GUI application object. Every test program that links this
// file gets one for the whole run, on the offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <memory>

#include <QGuiApplication>

namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "paint_tests";
    static char* argv[] = {name, nullptr};
    m_app = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  std::unique_ptr<QGuiApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
