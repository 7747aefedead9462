// The sink filter under a live stream: a push source delivers 640x480 YUY2 samples at 240 a
// second into the sink, whose gate takes 200 a second, while a reader fetches with GetData every
// millisecond. Prints the samples taken per second, the time a push takes (the source's copy into
// its sample and the sink's Receive), and, after half a second of warm-up, the time a GetData
// call takes (it waits while a sample is swapped in), beside the same calls once no sample comes.
// Usage: sink_bench [runs] [seconds per run]
#include "Sinkwell1.h"
#include "TestPushSource.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <windows.h>
#include <dshow.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr LONG kWidth = 640;
constexpr LONG kHeight = 480;
constexpr long kFrameBytes = kWidth * kHeight * 2;
constexpr double kSourceRate = 240.0;

double Now()
{
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void WaitUntil(double due)
{
    for (double left = due - Now(); left > 0; left = due - Now()) {
        if (left > 0.002)
            Sleep(1);
        else
            SwitchToThread();
    }
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1))];
}

struct RunFigures
{
    double samplesPerSecond = 0;
    double sampleMeanMs = 0;
    double getDataP999Ms = 0;
    double getDataMaxMs = 0;
    double idleGetDataMaxMs = 0; // the same calls in the second after the last sample
};

RunFigures RunOnce(double seconds)
{
    RunFigures figures;
    VIDEOINFOHEADER format = {};
    format.AvgTimePerFrame = static_cast<REFERENCE_TIME>(10000000 / kSourceRate);
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = kWidth;
    format.bmiHeader.biHeight = kHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 16;
    format.bmiHeader.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
    format.bmiHeader.biSizeImage = kFrameBytes;
    AM_MEDIA_TYPE type = {};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_YUY2;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = kFrameBytes;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(format);
    type.pbFormat = reinterpret_cast<BYTE*>(&format);

    HRESULT created = E_FAIL;
    Sinkwell1* sink = Sinkwell1::CreateInstance(nullptr, &created);
    if (sink == nullptr)
        return figures;
    sink->NonDelegatingAddRef();
    IGraphBuilder* graph = nullptr;
    IMediaControl* control = nullptr;
    IMediaFilter* mediaFilter = nullptr;
    TestPushSource* source = TestPushSource::Create(type, kFrameBytes);
    bool ready = SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                            reinterpret_cast<void**>(&graph))) &&
                 SUCCEEDED(graph->AddFilter(sink, L"Sink")) && SUCCEEDED(graph->AddFilter(source, L"Source")) &&
                 SUCCEEDED(graph->ConnectDirect(source->OutputPin(), &sink->InputPin(), &type)) &&
                 SUCCEEDED(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control))) &&
                 SUCCEEDED(graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&mediaFilter))) &&
                 SUCCEEDED(mediaFilter->SetSyncSource(nullptr)) && SUCCEEDED(sink->SetFrameRate(200.0f)) &&
                 SUCCEEDED(control->Run());
    if (ready) {
        std::vector<BYTE> bytes(kFrameBytes, 0x80);
        std::atomic<bool> pushing{true};
        std::vector<double> sampleTimes;
        std::vector<double> getDataTimes;
        std::vector<double> idleGetDataTimes;
        std::atomic<bool> idle{false};
        std::atomic<long> fetched{0};
        const double warmedUp = Now() + 0.5;
        std::thread reader([&] {
            InfoDataBufferPath1 frame(false);
            while (pushing) {
                const double start = Now();
                sink->GetData(&frame);
                // The first exchanges allocate the caller's block: they are the warm-up.
                if (start > warmedUp)
                    (idle ? idleGetDataTimes : getDataTimes).push_back(Now() - start);
                if (frame.m_size_data > 0 && frame.m_info.m_state == InfoCallInterfaceDataPath1::kStateFrame)
                    ++fetched;
                Sleep(1);
            }
        });
        const double begin = Now();
        const long samples = static_cast<long>(seconds * kSourceRate);
        for (long k = 0; k < samples; ++k) {
            WaitUntil(begin + static_cast<double>(k) / kSourceRate);
            const double start = Now();
            source->Push(bytes.data(), kFrameBytes);
            sampleTimes.push_back(Now() - start);
        }
        const double elapsed = Now() - begin;
        idle = true;
        const long taken = fetched;
        WaitUntil(Now() + 1.0);
        pushing = false;
        reader.join();
        control->Stop();
        figures.samplesPerSecond = static_cast<double>(taken) / elapsed;
        double total = 0;
        for (double time : sampleTimes)
            total += time;
        figures.sampleMeanMs = 1000.0 * total / static_cast<double>(sampleTimes.size());
        figures.getDataP999Ms = 1000.0 * Percentile(getDataTimes, 0.999);
        figures.getDataMaxMs = 1000.0 * Percentile(getDataTimes, 1.0);
        figures.idleGetDataMaxMs = 1000.0 * Percentile(idleGetDataTimes, 1.0);
    }
    if (source != nullptr)
        source->OutputPin()->Disconnect();
    sink->InputPin().Disconnect();
    if (mediaFilter != nullptr)
        mediaFilter->Release();
    if (control != nullptr)
        control->Release();
    if (graph != nullptr)
        graph->Release();
    if (source != nullptr)
        source->Release();
    sink->NonDelegatingRelease();
    if (!ready)
        std::fprintf(stderr, "graph could not be built\n");
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const double seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 4.0;
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 1;
    timeBeginPeriod(1);
    std::printf("640x480 YUY2 pushed at %.0f a second, gate at 200, GetData every millisecond\n", kSourceRate);
    std::printf("run  samples taken/s  push per sample (ms, mean)  GetData 99.9%% (ms)  GetData max (ms)  "
                "idle GetData max (ms)\n");
    for (int run = 1; run <= runs; ++run) {
        const RunFigures f = RunOnce(seconds);
        std::printf("%3d  %15.1f  %26.3f  %18.3f  %16.3f  %21.3f\n", run, f.samplesPerSecond, f.sampleMeanMs,
                    f.getDataP999Ms, f.getDataMaxMs, f.idleGetDataMaxMs);
    }
    timeEndPeriod(1);
    CoUninitialize();
    return 0;
}
