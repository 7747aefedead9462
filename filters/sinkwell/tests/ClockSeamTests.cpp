// The manual test clock lives in the support library every module loads: one call moves the
// clocks of this program, a loaded plug-in and the sink filter together.
#include "SinkwellGraphFixture.h"

#include "CTimeServer.h"
#include "ManualTestClock.h"
#include "TestFilterKit.h"

#include <gtest/gtest.h>

TEST(ManualTestClock, MovesTheClocksOfThePlugInTheSinkAndTheProgramTogether)
{
    TestFilterFolder folder;
    TestFilterJournal plugIn(folder.Install("Tonalis1.vdd"));
    ManualTestClock clock(7000000);
    SmartComPointer<IBaseFilter> sink;
    ASSERT_EQ(CreateSinkByFriendlyName(sink.ReceiveSlot()), S_OK);
    SmartComPointer<ISinkwellSampleExchange> exchange;
    ASSERT_EQ(sink->QueryInterface(IID_ISinkwellSampleExchange, exchange.ReceiveVoidSlot()), S_OK);
    CTimeServer own;

    int64_t sinceLastSample = -1;
    EXPECT_EQ(plugIn.ReadClock(), 7000000u);
    EXPECT_EQ(own.GetTime(), 7000000u);
    ASSERT_EQ(exchange->GetTimeSinceLastSample(&sinceLastSample), S_OK);
    EXPECT_EQ(sinceLastSample, 0);

    clock.Advance(2500);
    EXPECT_EQ(plugIn.ReadClock(), 7002500u);
    EXPECT_EQ(own.GetTime(), 7002500u);
    ASSERT_EQ(exchange->GetTimeSinceLastSample(&sinceLastSample), S_OK);
    EXPECT_EQ(sinceLastSample, 2500);
}
