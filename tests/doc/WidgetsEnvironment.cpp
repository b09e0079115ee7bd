// The document's commands open dialogs and message boxes, which need a widgets application. Every
// test of this program gets one for the whole run, on the offscreen platform unless the caller
// chose another.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>

namespace {

class WidgetsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "doc_tests";
    static char* argv[] = {name, nullptr};
    m_app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kWidgets = ::testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace
