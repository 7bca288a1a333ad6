// Start-up with and without a usable base.div.
#include <fstream>
#include <iterator>

#include <QGuiApplication>
#include <QScreen>

#include "engine/decimal_text.h"
#include "primality/first_check.h"
#include "support/shared_fixtures.h"
#include "support/window_fixture.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::string fileContent(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// 3 x (a prime above the products): caught by D1 only if the products are right.
bool trialDivisionWorks(shell::AppContext& ctx)
{
    engine::BigInt n;
    engine::setFromDecimal(n, "39000000000000000000000000000000000000000000000000000000000000000000000000000003");
    return primality::runFirstCheck(ctx, n) == 1;
}

}  // namespace

class StartWithoutDivisorFile : public WindowTest {
protected:
    void prepareWorkDir() override {}
};

TEST_F(StartWithoutDivisorFile, missing_base_div_is_created_identical_to_the_shared_one)
{
    fs::path created = workDir() / "base.div";
    ASSERT_TRUE(fs::exists(created));
    EXPECT_EQ(fileContent(created), fileContent(sharedDivisorFile()));
    EXPECT_EQ(lines().value(1).trimmed(), "N O T E S") << "the creation line is gone once the notes are shown";
    EXPECT_TRUE(trialDivisionWorks(app->context()));
}

class StartWhereDivisorFileCannotBeWritten : public WindowTest {
protected:
    // A directory in the file's place: it can neither be read as the file
    // nor replaced by it (a read-only directory behaves the same way for users
    // other than root, who may write anywhere).
    void prepareWorkDir() override { fs::create_directory("base.div"); }
};

TEST_F(StartWhereDivisorFileCannotBeWritten, products_are_built_in_memory_and_one_line_says_so)
{
    EXPECT_TRUE(fs::is_directory(workDir() / "base.div"));
    EXPECT_EQ(lines().value(1).trimmed(), "N O T E S");
    int mentions = 0;
    for (const QString& line : lines())
        mentions += line.startsWith("base.div could not be written");
    EXPECT_EQ(mentions, 1);
    EXPECT_TRUE(trialDivisionWorks(app->context()));
}

class StartWithDamagedDivisorFile : public WindowTest {
protected:
    void prepareWorkDir() override { std::ofstream("base.div") << "123\n456"; }
};

TEST_F(StartWithDamagedDivisorFile, a_cut_short_base_div_is_built_again)
{
    EXPECT_EQ(fs::file_size(workDir() / "base.div"), 5649836u);
    EXPECT_TRUE(trialDivisionWorks(app->context()));
}

TEST_F(WindowTest, the_window_starts_in_the_middle_of_the_primary_screen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint middle = app->window().frameGeometry().center();
    EXPECT_LE(std::abs(middle.x() - screen.center().x()), 2) << "QRect::center rounds down on each side";
    EXPECT_LE(std::abs(middle.y() - screen.center().y()), 2);
}
