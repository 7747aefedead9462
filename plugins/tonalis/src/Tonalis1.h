// The correction filter "Tonalis1.vdd": splits every YUY2 or grey frame into signed 16-bit work
// planes left on the frame for the filters after it, runs the correction steps over them, builds
// the reduced copies, measures the average level and the histogram and raises their events. One
// object per process serves every instance record; all settings live in the instance's state.
#pragma once

#include "Tonalis1State.h"

class Tonalis1 : public FilterObjectFrameDataPath1<Tonalis1, Tonalis1State>
{
public:
    static constexpr uint32_t kSupportedModes = 15;

    Tonalis1();

    HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode) override;
    HRESULT FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance) override;
    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                int32_t inputIndex) override;
    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override;
    HRESULT CheckInfoFilter(InfoFilterObjectDataPath1* instance) override;

    // The statistics interface.
    virtual HRESULT GetStatistics(Tonalis1State* state, InfoStaticResultProcessDataPath1* record);
    // The correction interface, in the order of the class's operations.
    virtual HRESULT SetCorrectionEnable(Tonalis1State* state, int32_t enable);
    virtual HRESULT SetCorrectionValue(Tonalis1State* state, int32_t index, float value);
    virtual HRESULT GetCorrectionValue(Tonalis1State* state, int32_t index, float* value);
    virtual HRESULT SetTemplateFolder(Tonalis1State* state, const char* folder);
    virtual HRESULT SetCorrectionParam(Tonalis1State* state, int32_t index, int32_t value, float valueFloat);
    virtual HRESULT SetUserValue(Tonalis1State* state, int32_t value);
    // Reached from SetTemplateFolder only.
    virtual HRESULT LoadTemplateBlocks(Tonalis1State* state);
    virtual HRESULT GetCorrectionParam(Tonalis1State* state, int32_t index, int32_t* value, float* valueFloat);
    virtual HRESULT GetAverageVideoLevel(Tonalis1State* state, float* level);
    virtual HRESULT SetHoldAdaptiveBrightness(Tonalis1State* state, int32_t hold);
    virtual HRESULT NeedRecivingEventAboutFirstAverageValue(Tonalis1State* state);
    virtual HRESULT SetEventOwner(Tonalis1State* state, ObjectControlDataPath1* owner);
    virtual HRESULT SetEventSourceIndex(Tonalis1State* state, int32_t index);
    virtual HRESULT SetFormatGraph(Tonalis1State* state, const StructFormatGraph1* record);
    virtual HRESULT SetUserCurve(Tonalis1State* state, int32_t curve, const SWORD* values, int32_t count);
    virtual HRESULT SetTextEffectArea(Tonalis1State* state, float* area, int32_t* position);
    // The processor-optimisation interface.
    virtual HRESULT GetSupportedModes(Tonalis1State* state, InfoParamDataPath1* out);
    virtual HRESULT SetMode(Tonalis1State* state, uint32_t mode);
    virtual HRESULT GetMode(Tonalis1State* state, InfoParamDataPath1* out);
    // The per-frame pipeline over the frame's pixels.
    virtual HRESULT CorrectImageFunction(Tonalis1State* state, BYTE* data, int32_t size, ListEventsDataPath1* events,
                                         InfoDataBufferPath1* frame);

    // What the frame needs of the class.
    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
    bool IsInterfaceImplemented(const GUID& iid) const;

private:
    HRESULT DispatchCorrection(Tonalis1State* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchOptimProcessor(Tonalis1State* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT TransformVideoFrame(Tonalis1State& state, InfoDataBufferPath1& frame, ListEventsDataPath1* events);
};
