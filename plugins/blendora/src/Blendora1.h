// The mixer Blendora1: the filter at the end of the mixer path. Up to 16 sources feed its inputs;
// the frames of the base input go on downstream, mixed with the others by the background effect,
// and every frame that passes the level gate is handed to the outside virtual-camera driver
// through its shared buffer. One object per process serves every instance record.
#pragma once

#include "InfoFilterStateBlendora1.h"

class Blendora1 : public FilterObjectFrameDataPath1<Blendora1, InfoFilterStateBlendora1>
{
public:
    static constexpr uint32_t kSupportedModes = 15;
    static constexpr int32_t kRecordKind = 1;

    Blendora1();

    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance,
                                ListEventsDataPath1* events, int32_t inputIndex) override;
    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override;

    // What the frame needs of the class.
    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
    bool IsInterfaceImplemented(const GUID& iid) const;

    // The mixer data interface, methods 0 to 3.
    HRESULT SetInputEnabled(InfoFilterStateBlendora1* state, int32_t input, int32_t flag);
    // which: 1 average-level low, 2 average-level high, 3 detection low, 4 detection high.
    HRESULT SetLevelRange(InfoFilterStateBlendora1* state, int32_t which, float value);
    // Option 1 the driver kind, 2 the background effect; others are only stored.
    HRESULT SetOption(InfoFilterStateBlendora1* state, int32_t option, int32_t value);
    HRESULT LoadBackgroundEffect(InfoFilterStateBlendora1* state, int32_t kind,
                                 const InfoBackgroundEffectForMixerFilter* record, int32_t size);

private:
    HRESULT DispatchMixerData(InfoFilterStateBlendora1* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT TransformVideoFrame(InfoFilterStateBlendora1* state, InfoDataBufferPath1* frame,
                                ListEventsDataPath1* events, int32_t inputIndex);
    // The mixing of the inputs into the base channel's frame.
    HRESULT BackgroundEffectTransform(InfoFilterStateBlendora1* state, InfoDataBufferPath1* frame,
                                      ListEventsDataPath1* events, int32_t inputIndex);
};

// A frame carries a picture: not virtual, and some data.
bool HoldsFrameData(const InfoDataBufferPath1& frame);

// Writes the frame into the driver's shared buffer under the driver's mutex, or counts it as
// blocked while the driver has not taken the previous one; raises the driver-state event into
// the list. 1 when no driver is open or its mutex was not had in time.
HRESULT SendDataToSharedBuffer(InfoFilterStateBlendora1* state, InfoDataBufferPath1* frame,
                               ListEventsDataPath1* events, bool send);
