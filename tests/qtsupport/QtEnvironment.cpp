#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// One application object for every test of the program, headless unless told otherwise. The
// headless screen is not square (the offscreen platform's own is), so that a width taken for
// a height shows.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty() || platform == "offscreen") {
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" CORVANE_OFFSCREEN_CONFIG);
        }
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "corvane_ui_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
