#include "PrefsFixture.h"

#include "shared/RVXLinks.h"

#include <filesystem>

namespace {

class RootPaneTest : public PrefsFixture {
protected:
    UIActionSheetRef openLinksSheet()
    {
        openRuvex();
        EXPECT_TRUE(succeeded(host().tapRowNamed("More from Vastelmark")));
        return host().modals().topActionSheet();
    }
};

TEST_F(RootPaneTest, TheSettingsAppListsTheProductAndOpensItsRootPane)
{
    bool listed = false;
    for (const auto& entry : host().entries())
        listed = listed || entry.label == "Ruvex Pro";
    EXPECT_TRUE(listed);
    openRuvex();
    ASSERT_TRUE(top());
    EXPECT_EQ(top()->className(), "RuvexProprefsListController");
    EXPECT_TRUE(host().indexPathOfRowNamed("Excluded Apps"));
}

TEST_F(RootPaneTest, RowsAreLoadedOnceAndKept)
{
    openRuvex();
    auto rows = top()->specifiers();
    ASSERT_FALSE(rows.empty());
    std::filesystem::remove(_device.hostPath("/Library/PreferenceBundles/RuvexProprefs.bundle/RuvexProprefs.plist"));
    EXPECT_EQ(top()->specifiers(), rows);
}

TEST_F(RootPaneTest, EachSubPaneIsReachedFromTheRoot)
{
    const std::pair<const char*, const char*> links[] = {
        { "Label & Font", "RVXFontController" },
        { "Background", "RVXImageController" },
        { "Extras", "RVXExtrasController" },
    };
    openRuvex();
    for (auto [row, paneClass] : links) {
        ASSERT_TRUE(succeeded(host().tapRowNamed(row)));
        ASSERT_TRUE(top());
        EXPECT_EQ(top()->className(), paneClass);
        ASSERT_TRUE(succeeded(host().goBack()));
    }
}

TEST_F(RootPaneTest, DonateOpensTheDonationPage)
{
    openRuvex();
    ASSERT_TRUE(succeeded(host().tapRowNamed("Donate")));
    EXPECT_EQ(opened(), std::vector<std::string> { RVXLinks::donate });
}

TEST_F(RootPaneTest, LinksSheetListsItsButtonsWithCancelLast)
{
    auto sheet = openLinksSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "Ruvex Pro by Vastelmark");
    EXPECT_EQ(sheet->shownInView(), top()->view());
    const char* titles[] = { "Website", "Twitter", "YouTube Channel", "More by this Developer", "Cancel" };
    ASSERT_EQ(sheet->numberOfButtons(), 5);
    for (int index = 0; index < 5; ++index)
        EXPECT_EQ(sheet->buttonTitleAtIndex(index), titles[index]);
    EXPECT_EQ(sheet->cancelButtonIndex(), 4);
    EXPECT_TRUE(opened().empty());

    // The host draws it over its own window, where a finger's tap on Cancel dismisses it.
    std::shared_ptr<UIModalOverlay> overlay;
    for (const UIViewRef& view : host().window()->subviews())
        if (auto found = std::dynamic_pointer_cast<UIModalOverlay>(view))
            overlay = found;
    ASSERT_TRUE(overlay);
    UIButtonRef cancel = overlay->buttonAtIndex(4);
    ASSERT_TRUE(cancel);
    CGRect frame = cancel->convertRectToView(cancel->bounds(), host().window().get());
    CGPoint middle { CGRectGetMidX(frame), CGRectGetMidY(frame) };
    ASSERT_TRUE(succeeded(host().touchAlong(middle, middle, 0)));
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(host().modals().topActionSheet());
    EXPECT_FALSE(overlay->superview());
    EXPECT_TRUE(opened().empty());
}

TEST_F(RootPaneTest, EachSheetButtonOpensItsAddress)
{
    const std::pair<int, std::vector<std::string>> cases[] = {
        { 0, { RVXLinks::website } },
        { 1, { RVXLinks::twitterWeb } },
        { 2, { RVXLinks::videoChannel } },
        { 3, { RVXLinks::moreApps } },
        { 4, {} },
    };
    for (const auto& [index, expected] : cases) {
        UIApplication::sharedApplication()->clearOpenedURLs();
        auto sheet = openLinksSheet();
        ASSERT_TRUE(sheet);
        sheet->dismissWithClickedButtonIndex(index);
        EXPECT_EQ(opened(), expected) << "button " << index;
        EXPECT_FALSE(sheet->isVisible());
        ASSERT_TRUE(succeeded(host().goBack()));
    }
}

TEST_F(RootPaneTest, TwitterOpensTheFirstInstalledClientElseTheWeb)
{
    struct Case {
        std::vector<std::string> schemes;
        std::string expected;
    };
    const Case cases[] = {
        { { "twitter", "tweetbot", "twitterrific" }, RVXLinks::twitterApps[0] },
        { { "tweetbot", "twitter" }, RVXLinks::twitterApps[0] },
        { { "tweetbot", "twitterrific" }, RVXLinks::twitterApps[1] },
        { { "twitterrific" }, RVXLinks::twitterApps[2] },
        { {}, RVXLinks::twitterWeb },
    };
    for (const auto& test : cases) {
        _schemes = test.schemes;
        UIApplication::sharedApplication()->clearOpenedURLs();
        auto sheet = openLinksSheet();
        ASSERT_TRUE(sheet);
        sheet->dismissWithClickedButtonIndex(1);
        EXPECT_EQ(opened(), std::vector<std::string> { test.expected });
        ASSERT_TRUE(succeeded(host().goBack()));
    }
}

TEST_F(RootPaneTest, BackgroundHelpOpensFromTheImagePane)
{
    openPane("Background");
    ASSERT_TRUE(succeeded(host().tapRowNamed("Making a Background Image")));
    EXPECT_EQ(opened(), std::vector<std::string> { RVXLinks::backgroundHelp });
}

TEST_F(RootPaneTest, SubPanesLoadTheirRowsOnce)
{
    const std::pair<const char*, const char*> panes[] = {
        { "Background", "RVXImageController.plist" },
        { "Extras", "RVXExtrasController.plist" },
    };
    for (auto [row, plist] : panes) {
        openPane(row);
        auto rows = top()->specifiers();
        ASSERT_FALSE(rows.empty()) << row;
        std::filesystem::remove(_device.hostPath(std::string("/Library/PreferenceBundles/RuvexProprefs.bundle/") + plist));
        EXPECT_EQ(top()->specifiers(), rows) << row;
        ASSERT_TRUE(succeeded(host().goBack()));
        ASSERT_TRUE(succeeded(host().goBack()));
    }
}

} // namespace
