// The skins the build draws: every file of the list family lies in the program's skin folder with
// its size, and a list whose folder is the skin folder loads them with its default settings.
#include "DefaultSkinFolder.h"
#include "ListTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SkinFile
{
    const char* m_name;
    int m_width;
    int m_height;
};

} // namespace

TEST(DefaultSkins, ListSkinFilesLoadWithTheirSizes)
{
    const SkinFile files[] = {
        {"ListObjectDefault_UpKey.bmp", 25, 35},
        {"ListObjectDefault_DownKey.bmp", 25, 35},
        {"ListObjectDefault_SliderScrollbar.bmp", 25, 30},
        {"ListObjectDefault_ScrollbarStencilPressedSlider.bmp", 25, 30},
        {"ListObjectDefault_Forground1.bmp", 25, 25},
        {"ListObjectDefault_Forground2.bmp", 25, 25},
    };
    for (const SkinFile& file : files) {
        SCOPED_TRACE(file.m_name);
        int width = 0, height = 0;
        ASSERT_EQ(ReadDefaultSkinSize(file.m_name, &width, &height), S_OK);
        EXPECT_EQ(width, file.m_width);
        EXPECT_EQ(height, file.m_height);
    }
}

TEST_F(ListTest, DefaultSkinsLoadIntoTheListsBuffers)
{
    ASSERT_TRUE(SUCCEEDED(m_list->SetOptimCPUReal(4)));
    ASSERT_EQ(m_list->SetTextVarForObjectReal(1, DefaultSkinFolder().c_str()), S_OK);
    ASSERT_EQ(ApplyDefaultListProperties(*m_list), S_OK);
    const struct
    {
        uint32_t m_buffer;
        int m_width;
        int m_height;
    } expected[] = {{77, 25, 35}, {78, 25, 35}, {96, 25, 30}, {182, 25, 25}, {183, 25, 25}};
    for (const auto& skin : expected) {
        const InfoGeneralBufferForUserInterface2& buffer = m_list->m_array_general_buffers.GetElement(skin.m_buffer);
        EXPECT_EQ(buffer.m_width_element, skin.m_width) << skin.m_buffer;
        EXPECT_EQ(buffer.m_height_element, skin.m_height) << skin.m_buffer;
    }
    // The checked box differs from the unchecked one in its middle, where the mark is.
    const auto middleGreen = [this](uint32_t index) {
        const InfoGeneralBufferForUserInterface2& buffer = m_list->m_array_general_buffers.GetElement(index);
        return buffer.m_rgb_buffers.GetElement(1)[17 * buffer.m_byte_stride / 2 + 11];
    };
    EXPECT_NE(middleGreen(182), middleGreen(183));
}
