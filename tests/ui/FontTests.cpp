#include "ui/TextLayout.h"
#include "ui/UIFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(Fonts, HelveticaFacesAndExactNamesOnly)
{
    auto faces = UIFont::fontNamesForFamilyName("Helvetica");
    EXPECT_EQ(faces, (std::vector<std::string> {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique",
                         "Helvetica-BoldOblique"}));
    UIFontRef bold = UIFont::fontWithName("Helvetica-Bold", 17);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->fontName(), "Helvetica-Bold");
    EXPECT_EQ(bold->familyName(), "Helvetica");
    EXPECT_FLOAT_EQ(bold->pointSize(), 17);

    EXPECT_EQ(UIFont::fontWithName("NoSuchFace", 17), nullptr);
    EXPECT_EQ(UIFont::fontWithName("helvetica", 17), nullptr); // names match exactly
    EXPECT_EQ(UIFont::fontWithName("", 17), nullptr);
    EXPECT_EQ(UIFont::fontWithName("Helvetica", 0), nullptr);
    // An installed face is found by PostScript name and by full name.
    EXPECT_NE(UIFont::fontWithName("DejaVuSans", 12), nullptr);
    EXPECT_NE(UIFont::fontWithName("DejaVu Sans Bold", 12), nullptr);
    // A family name that is not also a face name gives nothing.
    EXPECT_EQ(UIFont::fontWithName("Times New Roman", 12), nullptr);
}

TEST(Fonts, FamiliesAreSortedAndStable)
{
    auto families = UIFont::familyNames();
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_NE(std::find(families.begin(), families.end(), "Helvetica"), families.end());
    EXPECT_NE(std::find(families.begin(), families.end(), "Courier"), families.end());
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
    EXPECT_EQ(UIFont::familyNames(), families);
    EXPECT_EQ(UIFont::systemFontOfSize(14)->fontName(), "Helvetica");
    EXPECT_EQ(UIFont::boldSystemFontOfSize(14)->fontName(), "Helvetica-Bold");
    UIFontRef font = UIFont::systemFontOfSize(17);
    CGSize wide = NSString_UIStringDrawing::sizeWithFont("WWWW", font);
    CGSize narrow = NSString_UIStringDrawing::sizeWithFont("iiii", font);
    EXPECT_GT(wide.width, narrow.width);
    // One line is as tall as the face's own line, whatever the text.
    EXPECT_EQ(wide.height, std::ceil(font->lineHeight() - 1e-4));
    EXPECT_EQ(narrow.height, wide.height);
    EXPECT_GE(wide.height, 17);
}
