// The render-library contract: the three exports as the plug-in calls them, and the base object
// with the setters that the plug-in compiles into itself.
#include "RendaraDx7LibraryFixture.h"

#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr GUID kRendaraDx7Id = {0x7637AE2C, 0xF2F0, 0x4CE3, {0xA6, 0x0E, 0xA7, 0x97, 0xB7, 0x4D, 0x1C, 0x54}};

class RendaraDx7ExportTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_library.IsLoaded()); }
    RendaraDx7Library m_library;
};

TEST_F(RendaraDx7ExportTest, GetInfoFromLibraryFillsTheNameOnlyWhenItFits)
{
    struct Case
    {
        int32_t size;
        HRESULT result;
        const char* name;
    };
    for (const Case& c : {Case{18, E_FAIL, ""}, Case{19, S_OK, "Output from DDraw7"}, Case{64, S_OK, "Output from DDraw7"}}) {
        SCOPED_TRACE(c.size);
        int32_t kind = 77;
        InfoRenderLibrary info = {};
        char name[64];
        std::memset(name, 'x', sizeof(name));
        EXPECT_EQ(m_library.m_info(&kind, &info, name, c.size), c.result);
        EXPECT_EQ(kind, 0);
        EXPECT_TRUE(IsEqualGUID(info.m_id, kRendaraDx7Id));
        EXPECT_STREQ(name, c.name);
    }
}

TEST_F(RendaraDx7ExportTest, GetInfoFromLibraryRefusesMissingPointersAndSizes)
{
    int32_t kind = 77;
    InfoRenderLibrary info = {};
    char name[64] = "untouched";
    EXPECT_EQ(m_library.m_info(nullptr, &info, name, 64), E_UNEXPECTED);
    EXPECT_EQ(m_library.m_info(&kind, nullptr, name, 64), E_UNEXPECTED);
    EXPECT_EQ(m_library.m_info(&kind, &info, nullptr, 64), E_UNEXPECTED);
    EXPECT_EQ(m_library.m_info(&kind, &info, name, 0), E_UNEXPECTED);
    EXPECT_EQ(m_library.m_info(&kind, &info, name, -1), E_UNEXPECTED);
    EXPECT_EQ(kind, 77);
    EXPECT_STREQ(name, "untouched");
}

TEST_F(RendaraDx7ExportTest, CreateReplacesAPresetPointerWithoutDeletingIt)
{
    EXPECT_EQ(m_library.m_create(nullptr), E_FAIL);
    // Deleting this object would free stack memory and fault.
    GeneralVideoRendererObject preset;
    GeneralVideoRendererObject* object = &preset;
    ASSERT_EQ(m_library.m_create(&object), S_OK);
    ASSERT_NE(object, nullptr);
    ASSERT_NE(object, &preset);
    EXPECT_EQ(object->IsOwnRenderObject("Output from DDraw7"), S_OK);
    EXPECT_EQ(preset.IsOwnRenderObject("GeneralVideoRendererObject"), S_OK);
    EXPECT_EQ(m_library.m_delete(object), S_OK);
}

TEST_F(RendaraDx7ExportTest, DeleteFreesOnlyTheLibrarysOwnObjects)
{
    EXPECT_EQ(m_library.m_delete(nullptr), S_OK);
    GeneralVideoRendererObject foreign;
    EXPECT_EQ(m_library.m_delete(&foreign), S_OK);

    GeneralVideoRendererObject* object = nullptr;
    ASSERT_EQ(m_library.m_create(&object), S_OK);
    object->m_name = "Renamed";
    EXPECT_EQ(m_library.m_delete(object), S_OK);
    // Still alive: its name can be read and set back, and then it is deleted.
    EXPECT_EQ(object->IsOwnRenderObject("Renamed"), S_OK);
    object->m_name = "Output from DDraw7";
    EXPECT_EQ(m_library.m_delete(object), S_OK);
}

TEST(GeneralVideoRendererObject, BaseObjectHasTheContractDefaultsAndNoDrawing)
{
    GeneralVideoRendererObject object;
    EXPECT_EQ(object.RebuildBackSurface(), E_FAIL);
    EXPECT_EQ(object.RebuildSourceSurface(), E_FAIL);
    EXPECT_EQ(object.AttachPrimarySurface(), E_FAIL);
    EXPECT_EQ(object.InitDevice(), E_FAIL);
    uint8_t flag = 1;
    EXPECT_EQ(object.DrawFrame(nullptr, &flag), E_FAIL);
    EXPECT_EQ(object.CheckConvertSurface(), E_FAIL);
    EXPECT_EQ(object.UploadFrame(nullptr, 0, nullptr), E_FAIL);
    EXPECT_EQ(object.Reserved(5), 1);
    EXPECT_EQ(flag, 1);

    EXPECT_EQ(object.m_status_flags, 0x11u);
    EXPECT_EQ(object.m_display_mode, 0x101u);
    EXPECT_EQ(object.m_rgb_surfaces, 1);
    EXPECT_EQ(object.m_output_width, 10);
    EXPECT_EQ(object.m_source_width, 80);
    EXPECT_EQ(object.m_source_height, 60);
    EXPECT_EQ(object.m_channel, -1);
    EXPECT_EQ(object.m_format.bmiHeader.biSize, 40u);
    EXPECT_EQ(object.m_format.bmiHeader.biBitCount, 32);
    EXPECT_EQ(object.m_format.bmiHeader.biSizeImage, 1024u);
    EXPECT_EQ(object.m_path_record.kind, StructFormatGraph1::kKindCapture);
    const COLORREF colours[4] = {0x6464FF, 0x6464C8, 0xFF6464, 0xC83232};
    EXPECT_EQ(std::memcmp(object.m_caption_colours, colours, sizeof(colours)), 0);
    const uint8_t captionColour[3] = {1, 1, 1};
    EXPECT_EQ(std::memcmp(object.m_caption_colour, captionColour, 3), 0);
}

class RendererSetterTest : public testing::Test
{
protected:
    GeneralVideoRendererObject m_object;
};

TEST_F(RendererSetterTest, IndexedSettersRefuseIndexesOutsideTheirTables)
{
    struct Case
    {
        const char* setter;
        int32_t index;
        HRESULT result;
    };
    const auto call = [this](const std::string& setter, int32_t index) {
        if (setter == "flag")
            return m_object.SetCaptionFlag(index, 7, 1);
        if (setter == "option")
            return m_object.SetOptionByte(index, 1);
        return m_object.SetCaptionText(index, "text");
    };
    const Case cases[] = {{"flag", -1, E_UNEXPECTED},  {"flag", 16, E_UNEXPECTED},   {"flag", 15, S_OK},
                          {"option", -1, E_UNEXPECTED}, {"option", 8, E_UNEXPECTED},  {"option", 7, S_OK},
                          {"text", -1, E_UNEXPECTED},   {"text", 16, E_UNEXPECTED},   {"text", 15, S_OK}};
    for (const Case& c : cases)
        EXPECT_EQ(call(c.setter, c.index), c.result) << c.setter << " " << c.index;
    EXPECT_EQ(m_object.m_caption_flags[15], 1);
    EXPECT_EQ(m_object.m_option_bytes[7], 1);
    EXPECT_STREQ(m_object.m_caption_texts[15].GetString(), "text");
}

TEST_F(RendererSetterTest, CaptionTextIsEmptiedByNullAndCutTo255Characters)
{
    ASSERT_EQ(m_object.SetCaptionText(3, "old"), S_OK);
    EXPECT_EQ(m_object.SetCaptionText(3, nullptr), S_OK);
    EXPECT_STREQ(m_object.m_caption_texts[3].GetString(), "");

    // The plug-in passes texts of any length on.
    const std::string longText(300, 'c');
    EXPECT_EQ(m_object.SetCaptionText(4, longText.c_str()), S_OK);
    EXPECT_EQ(std::string(m_object.m_caption_texts[4].GetString()), longText.substr(0, 255));
}

TEST_F(RendererSetterTest, CaptionColourAndWeeklyTableRefuseShortBuffers)
{
    // Buffers end at an inaccessible page: a read past the given length faults.
    GuardedBuffer shortColour(2);
    shortColour.Bytes()[0] = 9;
    shortColour.Bytes()[1] = 9;
    GuardedBuffer colour(3);
    std::memcpy(colour.Bytes(), "\x10\x20\x30", 3);
    EXPECT_EQ(m_object.SetCaptionColour(nullptr, 3), E_INVALIDARG);
    EXPECT_EQ(m_object.SetCaptionColour(colour.Bytes(), 0), E_UNEXPECTED);
    EXPECT_EQ(m_object.SetCaptionColour(shortColour.Bytes(), 2), E_UNEXPECTED);
    EXPECT_EQ(m_object.m_caption_colour[0], 1);
    EXPECT_EQ(m_object.SetCaptionColour(colour.Bytes(), 3), S_OK);
    EXPECT_EQ(std::memcmp(m_object.m_caption_colour, colour.Bytes(), 3), 0);

    std::vector<uint8_t> table(500, 0x23);
    const uint8_t before = m_object.m_path_record.m_flags2[0];
    EXPECT_EQ(m_object.SetWeeklyTable(nullptr, 168), E_INVALIDARG);
    EXPECT_EQ(m_object.SetWeeklyTable(table.data(), 167), E_UNEXPECTED);
    EXPECT_NE(m_object.m_path_record.schedule[0], 0x23);
    EXPECT_EQ(m_object.SetWeeklyTable(table.data(), 500), S_OK);
    EXPECT_EQ(std::vector<uint8_t>(m_object.m_path_record.schedule, m_object.m_path_record.schedule + 168),
              std::vector<uint8_t>(168, 0x23));
    EXPECT_EQ(m_object.m_path_record.m_flags2[0], before);
}

TEST_F(RendererSetterTest, OutputRectangleIsNormalised)
{
    struct Case
    {
        RECT given; // x, y, width, height
        RECT stored;
    };
    for (const Case& c : {Case{{-5, -1, 3, 9}, {0, 0, 10, 10}}, Case{{5, 6, 300, 200}, {5, 6, 300, 200}},
                          Case{{0, 0, 10, -4}, {0, 0, 10, 10}}}) {
        EXPECT_EQ(m_object.SetOutputRect(c.given.left, c.given.top, c.given.right, c.given.bottom), S_OK);
        EXPECT_EQ(m_object.m_output_x, c.stored.left);
        EXPECT_EQ(m_object.m_output_y, c.stored.top);
        EXPECT_EQ(m_object.m_output_width, c.stored.right);
        EXPECT_EQ(m_object.m_output_height, c.stored.bottom);
    }
}

TEST_F(RendererSetterTest, NameDecidesOwnership)
{
    EXPECT_EQ(m_object.IsOwnRenderObject(nullptr), E_FAIL);
    EXPECT_EQ(m_object.IsOwnRenderObject("GeneralVideoRendererObject"), S_OK);
    EXPECT_EQ(m_object.IsOwnRenderObject("Output from DDraw7"), S_FALSE);
}

} // namespace
