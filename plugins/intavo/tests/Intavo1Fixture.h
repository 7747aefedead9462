// The source plug-in loaded from its file and driven through its exports, as the data path drives
// it. The file stays loaded for the whole test program: its graph threads' window class lives in it.
#pragma once

#include "Intavo1.h"
#include "TestPluginExports.h"

#include "InfoFilterObjectDataPath1.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// The empty frame state as a value (the class's constant lives in the shared library).
constexpr uint32_t kStateEmptyFrame = InfoCallInterfaceDataPath1::kStateEmpty;

const TestPluginExports& Intavo1Exports();

class Intavo1Test : public testing::Test
{
protected:
    using ParamSetup = std::function<void(ListParamsDataPath1&)>;

    void SetUp() override;
    void TearDown() override;

    // One interface call on the record (the fixture's own when null) with `count` parameters.
    HRESULT Call(const GUID& iid, int32_t index, uint32_t count = 0, const ParamSetup& setup = {},
                 InfoFilterObjectDataPath1* record = nullptr);
    // The per-instance state the plug-in made for the fixture's record.
    InfoFilterIntavo1& State();

    HRESULT SetRate(float framesPerSecond);
    HRESULT SetSource(const InfoNeedInterface& source);
    HRESULT SetOption(int32_t index, int32_t value);
    HRESULT SetMode(uint32_t mode);
    HRESULT Fetch(InfoDataBufferPath1& frame);
    // Fetches until a frame with data arrives and the check accepts it; whether one did in time.
    bool FetchUntil(InfoDataBufferPath1& frame, DWORD timeoutMs,
                    const std::function<bool(const InfoDataBufferPath1&)>& accept = {});

    const TestPluginExports& m_exports = Intavo1Exports();
    InfoFilterObjectDataPath1 m_record;
};
