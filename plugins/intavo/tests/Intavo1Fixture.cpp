#include "Intavo1Fixture.h"

#include "GraphObjectTestSupport.h"

const TestPluginExports& Intavo1Exports()
{
    static const TestPluginExports exports(LoadLibraryA("Intavo1.vdd"));
    return exports;
}

void Intavo1Test::SetUp()
{
    ASSERT_NE(m_exports.init, nullptr);
    ASSERT_TRUE(SUCCEEDED(m_exports.init(&m_record, 1)));
}

void Intavo1Test::TearDown()
{
    if (m_record.m_in_use) {
        EXPECT_EQ(m_exports.free(&m_record), S_OK);
    }
}

HRESULT Intavo1Test::Call(const GUID& iid, int32_t index, uint32_t count, const ParamSetup& setup,
                          InfoFilterObjectDataPath1* record)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(count);
    if (setup)
        setup(params);
    return m_exports.call({iid, index, &params, record != nullptr ? record : &m_record});
}

InfoFilterIntavo1& Intavo1Test::State()
{
    return *static_cast<InfoFilterIntavo1*>(m_record.m_state);
}

HRESULT Intavo1Test::SetRate(float framesPerSecond)
{
    return Call(IID_IControlDriverDirectShow, 3, 1,
                [&](ListParamsDataPath1& p) { p.m_params.GetElement(0).SetFloat(framesPerSecond); });
}

HRESULT Intavo1Test::SetSource(const InfoNeedInterface& source)
{
    return Call(IID_IControlDriverDirectShow, 0, 1, [&](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetPointer(const_cast<InfoNeedInterface*>(&source), sizeof(source), false);
    });
}

HRESULT Intavo1Test::SetOption(int32_t index, int32_t value)
{
    return Call(IID_ISourceFilterDataPath1, 3, 2, [&](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetInt(index);
        p.m_params.GetElement(1).SetInt(value);
    });
}

HRESULT Intavo1Test::SetMode(uint32_t mode)
{
    return Call(IID_IControlOptimProcessor, 1, 1, [&](ListParamsDataPath1& p) { p.m_params.GetElement(0).SetUInt(mode); });
}

HRESULT Intavo1Test::Fetch(InfoDataBufferPath1& frame)
{
    return Call(IID_ISourceFilterDataPath1, 2, 2, [&](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetInt(1);
        p.m_params.GetElement(1).SetPointer(&frame, sizeof(frame), false);
    });
}

bool Intavo1Test::FetchUntil(InfoDataBufferPath1& frame, DWORD timeoutMs,
                             const std::function<bool(const InfoDataBufferPath1&)>& accept)
{
    return WaitUntil(
        [&] {
            return Fetch(frame) == S_OK && frame.IsNULLFrame() == S_OK && (!accept || accept(frame));
        },
        timeoutMs);
}
