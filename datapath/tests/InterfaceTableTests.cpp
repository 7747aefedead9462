#include "StructForInterfaceDataPath1Table.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class InterfaceTable : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(FillStructForInterfaceDataPath1(), S_OK); }
};

const StructForInterfaceDataPath1& Table()
{
    return g_struct_for_interface_data_path1;
}

const ListParamsDataPath1& Descriptors(uint32_t interfaceIndex, uint32_t method)
{
    return Table().m_interfaces.GetElement(interfaceIndex).m_methods.GetElement(method).m_params;
}

// The line the check logged, or "" when it logged none.
std::string CheckLine(const LogCapture& log)
{
    for (const std::string& line : log.Lines())
        if (line.find("Error::checking params for call function failed::") != std::string::npos)
            return line;
    return std::string();
}

} // namespace

// Runs first: the table is filled once per process.
TEST(InterfaceTableEmpty, CheckFailsUntilTheTableIsFilled)
{
    if (g_struct_for_interface_data_path1.m_filled)
        GTEST_SKIP() << "the table was filled by an earlier test";
    ListParamsDataPath1 list;
    list.SetNumberParams(0);
    LogCapture log;
    EXPECT_EQ(CheckParamsForCallFunction(IID_ISinkwell1, 2, &list), E_FAIL);
    EXPECT_NE(CheckLine(log).find("failed::0::index_metode=2::i1=0::i2=0::"), std::string::npos);
}

TEST_F(InterfaceTable, HoldsTheNineteenInterfacesInOrder)
{
    struct Row
    {
        const char* name;
        GUID iid;
        int methods;
    };
    const Row rows[] = {
        {"IID_ISourceFilterDataPath1", IID_ISourceFilterDataPath1, 5},
        {"IID_IControlNetworkSend1", IID_IControlNetworkSend1, 11},
        {"IID_IVideoOutputRender1", IID_IVideoOutputRender1, 30},
        {"IID_IInfoCamera", IID_IInfoCamera, 9},
        {"IID_IControlRateData", IID_IControlRateData, 4},
        {"IID_IControlCoderVideoData", IID_IControlCoderVideoData, 2},
        {"IID_IControlCorrectVideoData", IID_IControlCorrectVideoData, 15},
        {"IID_IControlOptimProcessor", IID_IControlOptimProcessor, 3},
        {"IID_IGrabberFrames", IID_IGrabberFrames, 7},
        {"IID_IControlStream1", IID_IControlStream1, 3},
        {"IID_IControlVideoDetector", IID_IControlVideoDetector, 15},
        {"IID_IWriteInFileForWriteServer2", IID_IWriteInFileForWriteServer2, 3},
        {"IID_IReadFromFileForWriteServer2", IID_IReadFromFileForWriteServer2, 15},
        {"IID_IFilter_VideoCompress", IID_IFilter_VideoCompress, 4},
        {"IID_ISinkwell1", IID_ISinkwell1, 3},
        {"IID_IControlDriverDirectShow", IID_IControlDriverDirectShow, 4},
        {"IID_IFilter_GeneralCompress", IID_IFilter_GeneralCompress, 2},
        {"IID_MixerDataTundrel", IID_MixerDataTundrel, 4},
        {"IID_IControlStaticResultProcess", IID_IControlStaticResultProcess, 1},
    };
    ASSERT_TRUE(Table().m_filled);
    ASSERT_EQ(Table().m_count_interfaces, 19);
    for (uint32_t i = 0; i < 19; ++i) {
        const InfoInterfaceDataPath1& entry = Table().m_interfaces.GetElement(i);
        EXPECT_TRUE(entry.m_name == rows[i].name) << rows[i].name;
        EXPECT_EQ(entry.m_iid, rows[i].iid) << rows[i].name;
        EXPECT_EQ(entry.m_count_methods, rows[i].methods) << rows[i].name;
    }
    EXPECT_TRUE(Table().m_interfaces.GetElement(19).m_name == "Unknown");
}

TEST_F(InterfaceTable, DescriptorsCarryTheParameterTypes)
{
    // IID_IControlRateData 0 (uint, &buffer, &float, bool, bool, bool)
    const ListParamsDataPath1& rate = Descriptors(4, 0);
    ASSERT_EQ(rate.m_count, 6u);
    const uint32_t expected[] = {3, 0x1000005, 0x1000006, 4, 4, 4};
    for (uint32_t j = 0; j < 6; ++j) {
        EXPECT_EQ(rate.m_params.GetElement(j).m_type, expected[j]) << j;
        EXPECT_EQ(rate.m_params.GetElement(j).m_size, 0u) << j;
    }
    // IID_IVideoOutputRender1 5 (rect), 8 (&hwnd); IID_IReadFromFileForWriteServer2 4 (time)
    EXPECT_EQ(Descriptors(2, 5).m_params.GetElement(0).m_type, 12u);
    EXPECT_EQ(Descriptors(2, 8).m_params.GetElement(0).m_type, 0x100000Au);
    EXPECT_EQ(Descriptors(12, 4).m_params.GetElement(0).m_type, 11u);
    // IID_IControlCorrectVideoData 8 (none): one reset record
    EXPECT_EQ(Descriptors(6, 8).m_count, 1u);
    EXPECT_EQ(Descriptors(6, 8).m_params.GetElement(0).m_type, 0u);
    // IID_IControlCorrectVideoData 14 (&buffer [16], &int [4])
    EXPECT_EQ(Descriptors(6, 14).m_params.GetElement(1).m_type, 0x1000001u);
    EXPECT_EQ(Descriptors(0, 0).m_count, 0u);
}

TEST_F(InterfaceTable, CheckAnswersEveryCase)
{
    struct Case
    {
        const char* what;
        GUID iid;
        int index;
        void (*fill)(ListParamsDataPath1&);
        HRESULT result;
        const char* logged; // text of the logged line, or null for no line
    };
    const GUID unknown = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
    const Case cases[] = {
        {"valid call", IID_IControlOptimProcessor, 1, [](ListParamsDataPath1& l) { l.SetNumberParams(1); l.m_params.GetElement(0).SetInt(4); }, S_OK, nullptr},
        {"valid call by pointer", IID_IControlRateData, 3, [](ListParamsDataPath1& l) { static bool b; l.SetNumberParams(1); l.m_params.GetElement(0).SetBoolPointer(&b, 1, false); }, S_OK, nullptr},
        {"valid call without parameters", IID_ISinkwell1, 2, [](ListParamsDataPath1& l) { l.SetNumberParams(0); }, S_OK, nullptr},
        {"reset record for a none slot", IID_IControlCorrectVideoData, 8, [](ListParamsDataPath1& l) { l.SetNumberParams(1); }, S_OK, nullptr},
        {"wrong type", IID_IControlOptimProcessor, 1, [](ListParamsDataPath1& l) { l.SetNumberParams(1); l.m_params.GetElement(0).SetUInt(4); }, E_FAIL, "::i1=7::i2=0::Error::type parameter enqual::"},
        {"wrong type in second place", IID_MixerDataTundrel, 1, [](ListParamsDataPath1& l) { l.SetNumberParams(2); l.m_params.GetElement(0).SetInt(0); l.m_params.GetElement(1).SetInt(0); }, E_FAIL, "::i2=1::Error::type parameter enqual::"},
        {"written-back pointer", IID_IControlRateData, 3, [](ListParamsDataPath1& l) { static bool b; l.SetNumberParams(1); l.m_params.GetElement(0).SetBoolPointer(&b, 1, true); }, E_FAIL, "Error::type parameter enqual::"},
        {"pointer size written", IID_IControlRateData, 3, [](ListParamsDataPath1& l) { static bool b; l.SetNumberParams(1); l.m_params.GetElement(0).SetBoolPointer(&b, 1, false); l.m_params.GetElement(0).m_size = 4; }, E_FAIL, "Error::size pointer invalidate::"},
        {"wrong count", IID_IControlOptimProcessor, 1, [](ListParamsDataPath1& l) { l.SetNumberParams(2); }, E_FAIL, "::index_metode=1::i1=7::i2=0::Error::number parameters enqual::2!=1"},
        {"unknown GUID", unknown, 0, [](ListParamsDataPath1& l) { l.SetNumberParams(0); }, E_FAIL, "failed::19::index_metode=0::i1=19::i2=0::"},
        {"method beyond the interface", IID_IControlOptimProcessor, 3, [](ListParamsDataPath1& l) { l.SetNumberParams(0); }, E_FAIL, "::i1=7::i2=0::Error::index metode invalidate::"},
        {"negative method", IID_IControlOptimProcessor, -1, [](ListParamsDataPath1& l) { l.SetNumberParams(0); }, E_UNEXPECTED, nullptr},
        {"method 32", IID_IVideoOutputRender1, 32, [](ListParamsDataPath1& l) { l.SetNumberParams(0); }, E_UNEXPECTED, nullptr},
        {"null GUID", GUID_NULL, 0, [](ListParamsDataPath1& l) { l.SetNumberParams(0); }, E_UNEXPECTED, nullptr},
        {"sixteen parameters", IID_IVideoOutputRender1, 0, [](ListParamsDataPath1& l) { l.SetNumberParams(16); }, E_UNEXPECTED, nullptr},
    };
    for (const Case& c : cases) {
        ListParamsDataPath1 list;
        c.fill(list);
        LogCapture log;
        EXPECT_EQ(CheckParamsForCallFunction(c.iid, c.index, &list), c.result) << c.what;
        const std::string line = CheckLine(log);
        if (c.logged == nullptr)
            EXPECT_EQ(line, "") << c.what;
        else
            EXPECT_NE(line.find(c.logged), std::string::npos) << c.what << ": " << line;
    }
    EXPECT_EQ(CheckParamsForCallFunction(IID_ISinkwell1, 2, nullptr), E_UNEXPECTED);
}
