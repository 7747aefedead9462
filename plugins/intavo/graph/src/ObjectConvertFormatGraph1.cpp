#include "ObjectConvertFormatGraph1.h"

#include "need_interface.h"

#include "CatchAllLog.h"
#include "MediaSubtypeGuids.h"

#include <cstddef>
#include <cstring>
#include <memory>

namespace {

using Node = InfoNodeFormatGraph1;

constexpr uint32_t kLinks = InfoNodeFormatGraph1::kMaxLinks;
constexpr char kCaptureCardFilterName[] = "D.U.R.M.I.X.ConexantBT878";
// Marks a source description whose device sits behind the capture-card filter.
constexpr GUID kCaptureCardGuid = {0x20869BA2, 0x89CA, 0x11D6, {0xBE, 0xC7, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};

HRESULT CheckBuffer(const uint8_t* buffer, uint32_t size)
{
    if (buffer == nullptr)
        return E_INVALIDARG;
    return size == 0 ? E_UNEXPECTED : S_OK;
}

uint32_t CountNodes(uint32_t size)
{
    return size / sizeof(Node);
}

Node& NodeAt(uint8_t* buffer, uint32_t index)
{
    return *reinterpret_cast<Node*>(buffer + static_cast<size_t>(index) * sizeof(Node));
}

Node* FindNode(uint8_t* buffer, uint32_t size, int32_t id)
{
    return FindNodeFormatGraph1(buffer, CountNodes(size), id);
}

// A capture format's camera id, read and written in place by copy (the payload is unaligned).
constexpr size_t kCameraIdPlace = offsetof(StructFormatGraph1, cameraId);

int32_t ReadCameraId(const Node& node)
{
    int32_t cameraId = 0;
    std::memcpy(&cameraId, node.m_payload + kCameraIdPlace, sizeof(cameraId));
    return cameraId;
}

void WriteCameraId(Node& node, int32_t cameraId)
{
    std::memcpy(node.m_payload + kCameraIdPlace, &cameraId, sizeof(cameraId));
}

void AppendId(DynamicBoundsObject<int32_t>& ids, int32_t id)
{
    const uint32_t count = ids.GetCount();
    if (FAILED(ids.SetSize(count + 1)))
        throw 240;
    ids.GetElement(count) = id;
}

bool Contains(const DynamicBoundsObject<int32_t>& ids, int32_t id)
{
    for (uint32_t k = 0; k < ids.GetCount(); ++k)
        if (ids.GetElement(k) == id)
            return true;
    return false;
}

// The place a link goes: the given slot when it is free, or the first free one for -1.
int32_t ChooseSlot(const int32_t* links, int32_t slot)
{
    if (slot == -1) {
        for (uint32_t k = 0; k < kLinks; ++k)
            if (links[k] == -1)
                return static_cast<int32_t>(k);
        return -1;
    }
    if (slot < 0 || slot >= static_cast<int32_t>(kLinks) || links[slot] != -1)
        return -1;
    return slot;
}

// Clears every link equal to id; the count drops once for each.
void ClearLinks(int32_t* links, int32_t& count, int32_t id, bool firstOnly)
{
    for (uint32_t k = 0; k < kLinks; ++k) {
        if (links[k] != id)
            continue;
        links[k] = -1;
        if (count > 0)
            --count;
        if (firstOnly)
            return;
    }
}

int32_t FirstParent(const Node& node)
{
    for (uint32_t k = 0; k < kLinks; ++k)
        if (node.inputs[k] != -1)
            return node.inputs[k];
    return -1;
}

int32_t OutputSlotOf(const Node& parent, int32_t childId)
{
    for (uint32_t k = 0; k < kLinks; ++k)
        if (parent.outputs[k] == childId)
            return static_cast<int32_t>(k);
    return -1;
}

void FreeIds(uint8_t* buffer, uint32_t size, int32_t* values, int32_t count)
{
    int32_t candidate = 1;
    for (int32_t k = 0; k < count; ++k, ++candidate) {
        while (FindNode(buffer, size, candidate) != nullptr)
            ++candidate;
        values[k] = candidate;
    }
}

bool IsCaptureCardFilter(const Node& node)
{
    if (node.kind != TypeNodeFilter)
        return false;
    auto filter = std::make_unique<InfoFilterNodeFormatGraph1>();
    node.ReadPayload(*filter);
    filter->m_file_name.ValidateString();
    return filter->m_file_name == StaticString<256, wchar_t>(kCaptureCardFilterName);
}

// Walks are bounded by the node count: a cycle in the links ends them as a failure.
HRESULT DeleteTreeBelow(uint8_t* buffer, uint32_t size, int32_t id, uint32_t depth)
{
    Node* node = FindNode(buffer, size, id);
    if (node == nullptr)
        return E_FAIL;
    if (depth > CountNodes(size))
        return E_UNEXPECTED;
    HRESULT result = S_OK;
    int32_t children[kLinks];
    std::memcpy(children, node->outputs, sizeof(children));
    for (int32_t child : children)
        if (child != -1 && FindNode(buffer, size, child) != nullptr) {
            const HRESULT below = DeleteTreeBelow(buffer, size, child, depth + 1);
            if (FAILED(below))
                result = below;
        }
    const HRESULT deleted = ObjectConvertFormatGraph1::DeleteNode(buffer, size, id);
    return FAILED(result) ? result : deleted;
}

int32_t IsPathDisabledBelow(uint8_t* buffer, uint32_t size, int32_t id, uint32_t depth)
{
    if (depth > CountNodes(size) || ObjectConvertFormatGraph1::IsChainDisabled(buffer, size, id) != 0)
        return 1;
    const Node* node = FindNode(buffer, size, id);
    if (node->kind == TypeNodeCaptureFormat)
        return 0;
    bool hasChildren = false;
    for (int32_t child : node->outputs) {
        if (child == -1)
            continue;
        hasChildren = true;
        if (IsPathDisabledBelow(buffer, size, child, depth + 1) == 0)
            return 0;
    }
    return hasChildren ? 1 : 0;
}

// The parent's output slot that held the node, after the node and its descendants are gone.
HRESULT RemoveForReplacement(uint8_t* buffer, uint32_t size, int32_t id, int32_t* parentId, int32_t* slot)
{
    const Node* node = FindNode(buffer, size, id);
    if (node == nullptr)
        return E_FAIL;
    *parentId = FirstParent(*node);
    const Node* parent = FindNode(buffer, size, *parentId);
    if (parent == nullptr)
        return E_FAIL;
    *slot = OutputSlotOf(*parent, id);
    const HRESULT deleted = DeleteTreeBelow(buffer, size, id, 0);
    return FAILED(deleted) ? deleted : (*slot < 0 ? E_FAIL : S_OK);
}

// A new node of the kind (the payload given, or the kind's defaults) linked below the parent.
int32_t AddLinkedNode(uint8_t** buffer, uint32_t* size, int32_t parentId, int32_t slot, int32_t kind,
                      const InfoFilterNodeFormatGraph1* filter)
{
    auto node = std::make_unique<Node>();
    if (FAILED(node->Reset(kind, 0)))
        return -1;
    if (filter != nullptr)
        node->WritePayload(*filter);
    const int32_t id = ObjectConvertFormatGraph1::AddNode(buffer, size, node.get());
    if (id < 0 || FAILED(ObjectConvertFormatGraph1::LinkNodes(*buffer, *size, parentId, id, slot, 0)))
        return -1;
    return id;
}

void FillSourceDescription(InfoNeedInterface& record, const Node& node)
{
    InfoCaptureDeviceNodeFormatGraph1 device;
    node.ReadPayload(device);
    device.m_friendly_name.ValidateString();
    record.m_name_device = device.m_friendly_name.GetString();
    record.m_guid_category = media_guids::CLSID_VideoInputDeviceCategory;
    record.m_media_type.m_major_type = media_guids::MEDIATYPE_Video;
    record.m_enabled = node.enabled;
    record.m_id_camera_from_node = device.m_value_carried1;
    record.m_id_camera = node.id;
    record.m_type_analog_video_standard = device.m_analog_video_standard;
    record.m_media_type.m_subtype = device.m_subtype;
    record.m_media_type.m_format_type = media_guids::FORMAT_VideoInfo;
    record.m_media_type.m_bih = device.m_bitmap_header;
    record.m_option_sink = static_cast<uint8_t>(device.m_option_sink & 0xFF);
    record.m_index_device = device.m_index_device;
    record.m_value_from_node = device.m_value_carried2;
    record.m_frame_rate = static_cast<float>(device.m_frame_rate);
    record.m_disabled = device.m_disabled;
}

// A device behind the capture-card filter: the card's mark, and which of the card's outputs
// lead to a capture format that is on.
void MarkCaptureCardOutputs(uint8_t* buffer, uint32_t size, InfoNeedInterface& record, const Node& device)
{
    for (int32_t childId : device.outputs) {
        const Node* filter = childId == -1 ? nullptr : FindNode(buffer, size, childId);
        if (filter == nullptr || !IsCaptureCardFilter(*filter))
            continue;
        record.m_guid_special.GetElement(0) = kCaptureCardGuid;
        auto& flags = record.m_table_flags.GetElement(0);
        for (uint32_t k = 0; k < InfoNeedInterface::kNumberFlagsInRow; ++k) {
            const int32_t output = filter->outputs[k];
            if (output != -1)
                flags.GetElement(k) = ObjectConvertFormatGraph1::IsPathDisabled(buffer, size, output) == 0 ? 1 : 0;
        }
    }
}

} // namespace

InfoNodeFormatGraph1* ObjectConvertFormatGraph1::FindNodeByID(uint8_t* buffer, uint32_t size, int32_t id)
{
    try {
        return FindNode(buffer, size, id);
    }
    CATCH_ALL_RETURN(nullptr)
}

HRESULT ObjectConvertFormatGraph1::GetNodeIdsOfKind(uint8_t* buffer, uint32_t size, int32_t kind,
                                                    DynamicBoundsObject<int32_t>* ids)
{
    try {
        if (ids == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        ids->SetSize(0);
        for (uint32_t k = 0; k < CountNodes(size); ++k) {
            const Node& node = NodeAt(buffer, k);
            if (node.kind != TypeNodeFree && (kind == kAnyKind || node.kind == kind))
                AppendId(*ids, node.id);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectConvertFormatGraph1::GetChildIdsOfKind(uint8_t* buffer, uint32_t size, int32_t id, int32_t kind,
                                                     int32_t* ids, int32_t* count)
{
    try {
        if (ids == nullptr || count == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        *count = 0;
        for (uint32_t k = 0; k < kLinks; ++k)
            ids[k] = -1;
        const Node* node = FindNode(buffer, size, id);
        if (node == nullptr)
            return E_FAIL;
        for (int32_t childId : node->outputs) {
            const Node* child = childId == -1 ? nullptr : FindNode(buffer, size, childId);
            if (child != nullptr && (kind == kAnyKind || child->kind == kind))
                ids[(*count)++] = childId;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

InfoNodeFormatGraph1* ObjectConvertFormatGraph1::GetRootNode(uint8_t* buffer, uint32_t size, int32_t* id)
{
    try {
        if (id == nullptr || FAILED(CheckBuffer(buffer, size)))
            return nullptr;
        for (uint32_t k = 0; k < CountNodes(size); ++k) {
            Node& node = NodeAt(buffer, k);
            if (node.kind == TypeNodeComputer) {
                *id = node.id;
                return &node;
            }
        }
        return nullptr;
    }
    CATCH_ALL_RETURN(nullptr)
}

HRESULT ObjectConvertFormatGraph1::GetRootName(uint8_t* buffer, uint32_t size, int32_t* id,
                                               StaticString<292, wchar_t>* name)
{
    try {
        if (id == nullptr || name == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        const Node* root = GetRootNode(buffer, size, id);
        if (root == nullptr)
            return E_FAIL;
        InfoComputerNodeFormatGraph1 computer;
        root->ReadPayload(computer);
        computer.m_name.ValidateString();
        *name = computer.m_name;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectConvertFormatGraph1::GetFreeIds(uint8_t* buffer, uint32_t size, int32_t* values, int32_t count)
{
    try {
        if (values == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        FreeIds(buffer, size, values, count);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectConvertFormatGraph1::AppendNode(uint8_t** buffer, uint32_t* size, const InfoNodeFormatGraph1* node)
{
    try {
        if (buffer == nullptr || size == nullptr || node == nullptr)
            return E_INVALIDARG;
        const uint32_t whole = CountNodes(*size) * sizeof(Node);
        if (whole > UINT32_MAX - sizeof(Node))
            return E_UNEXPECTED;
        const HRESULT grown = SAFE_TASK_REALLOC(buffer, whole + sizeof(Node));
        if (FAILED(grown))
            return grown;
        std::memcpy(*buffer + whole, static_cast<const void*>(node), sizeof(Node));
        *size = whole + static_cast<uint32_t>(sizeof(Node));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t ObjectConvertFormatGraph1::AddNode(uint8_t** buffer, uint32_t* size, InfoNodeFormatGraph1* node)
{
    try {
        if (buffer == nullptr || size == nullptr || node == nullptr)
            return -1;
        int32_t id = -1;
        FreeIds(*buffer, *size, &id, 1);
        node->id = id;
        return SUCCEEDED(AppendNode(buffer, size, node)) ? id : -1;
    }
    CATCH_ALL_RETURN(-1)
}

HRESULT ObjectConvertFormatGraph1::LinkNodes(uint8_t* buffer, uint32_t size, int32_t fromId, int32_t toId,
                                             int32_t outputSlot, int32_t inputSlot)
{
    try {
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        Node* from = FindNode(buffer, size, fromId);
        Node* to = FindNode(buffer, size, toId);
        if (from == nullptr || to == nullptr || from->outputCount >= static_cast<int32_t>(kLinks) ||
            to->inputCount >= static_cast<int32_t>(kLinks))
            return E_UNEXPECTED;
        const int32_t output = ChooseSlot(from->outputs, outputSlot);
        const int32_t input = ChooseSlot(to->inputs, inputSlot);
        if (output < 0 || input < 0)
            return E_UNEXPECTED;
        from->outputs[output] = toId;
        to->inputs[input] = fromId;
        ++from->outputCount;
        ++to->inputCount;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectConvertFormatGraph1::UnlinkNodes(uint8_t* buffer, uint32_t size, int32_t fromId, int32_t toId)
{
    try {
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        Node* from = FindNode(buffer, size, fromId);
        Node* to = FindNode(buffer, size, toId);
        if (from == nullptr || to == nullptr)
            return E_FAIL;
        ClearLinks(from->outputs, from->outputCount, toId, true);
        ClearLinks(to->inputs, to->inputCount, fromId, true);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The children's links to the node go too, so that an id given out again later links nothing.
HRESULT ObjectConvertFormatGraph1::DeleteNode(uint8_t* buffer, uint32_t size, int32_t id)
{
    try {
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        Node* node = FindNode(buffer, size, id);
        if (node == nullptr)
            return E_FAIL;
        for (int32_t parentId : node->inputs)
            if (Node* parent = parentId == -1 ? nullptr : FindNode(buffer, size, parentId))
                ClearLinks(parent->outputs, parent->outputCount, id, false);
        for (int32_t childId : node->outputs)
            if (Node* child = childId == -1 ? nullptr : FindNode(buffer, size, childId))
                ClearLinks(child->inputs, child->inputCount, id, false);
        std::memset(static_cast<void*>(node), 0, sizeof(Node));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectConvertFormatGraph1::DeleteNodeTree(uint8_t* buffer, uint32_t size, int32_t id)
{
    try {
        const HRESULT check = CheckBuffer(buffer, size);
        return FAILED(check) ? check : DeleteTreeBelow(buffer, size, id, 0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t ObjectConvertFormatGraph1::ReplaceWithCaptureFormatNode(uint8_t** buffer, uint32_t* size, int32_t id)
{
    try {
        int32_t parentId = -1;
        int32_t slot = -1;
        if (buffer == nullptr || size == nullptr || FAILED(RemoveForReplacement(*buffer, *size, id, &parentId, &slot)))
            return -1;
        return AddLinkedNode(buffer, size, parentId, slot, TypeNodeCaptureFormat, nullptr);
    }
    CATCH_ALL_RETURN(-1)
}

int32_t ObjectConvertFormatGraph1::ReplaceWithFilterNode(uint8_t** buffer, uint32_t* size, int32_t id,
                                                         const InfoFilterNodeFormatGraph1* description)
{
    try {
        int32_t parentId = -1;
        int32_t slot = -1;
        if (buffer == nullptr || size == nullptr || description == nullptr ||
            FAILED(RemoveForReplacement(*buffer, *size, id, &parentId, &slot)))
            return -1;
        const int32_t filterId = AddLinkedNode(buffer, size, parentId, slot, TypeNodeFilter, description);
        const int32_t outputs = description->m_count_outputs;
        for (int32_t output = 0; filterId >= 0 && output < outputs && output < static_cast<int32_t>(kLinks); ++output)
            if (AddLinkedNode(buffer, size, filterId, output, TypeNodeCaptureFormat, nullptr) < 0)
                return -1;
        return filterId;
    }
    CATCH_ALL_RETURN(-1)
}

HRESULT ObjectConvertFormatGraph1::NumberCaptureFormatNodes(uint8_t* buffer, uint32_t size,
                                                            DynamicBoundsObject<int32_t>* ids, int32_t* counter)
{
    try {
        if (ids == nullptr || counter == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        const uint32_t count = CountNodes(size);
        auto sharedWithAnother = [&](uint32_t self, int32_t cameraId) {
            for (uint32_t k = 0; k < count; ++k) {
                const Node& other = NodeAt(buffer, k);
                if (k != self && other.kind == TypeNodeCaptureFormat && ReadCameraId(other) == cameraId)
                    return true;
            }
            return false;
        };
        for (uint32_t k = 0; k < count; ++k) {
            Node& node = NodeAt(buffer, k);
            node.Check();
            if (node.kind != TypeNodeCaptureFormat)
                continue;
            int32_t cameraId = ReadCameraId(node);
            while (cameraId == 0 || cameraId == -1 || sharedWithAnother(k, cameraId) || Contains(*ids, cameraId))
                cameraId = (*counter)++;
            WriteCameraId(node, cameraId);
            AppendId(*ids, cameraId);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t ObjectConvertFormatGraph1::IsChainDisabled(uint8_t* buffer, uint32_t size, int32_t id)
{
    try {
        const Node* node = FindNode(buffer, size, id);
        for (uint32_t steps = 0; steps <= CountNodes(size); ++steps) {
            if (node == nullptr || node->enabled == 0 ||
                node->payloadSize < static_cast<int32_t>(InfoNodeFormatGraph1::PayloadSizeOfKind(node->kind)))
                return 1;
            if (node->kind == TypeNodeComputer || node->inputs[0] == -1)
                return 0;
            node = FindNode(buffer, size, node->inputs[0]);
        }
        return 1;
    }
    CATCH_ALL_RETURN(1)
}

int32_t ObjectConvertFormatGraph1::IsPathDisabled(uint8_t* buffer, uint32_t size, int32_t id)
{
    try {
        return IsPathDisabledBelow(buffer, size, id, 0);
    }
    CATCH_ALL_RETURN(1)
}

HRESULT ObjectConvertFormatGraph1::ConvertCaptureNodes(uint8_t* buffer, uint32_t size, InfoNeedInterface* records,
                                                       int32_t* count, int32_t maximum, uint32_t selection)
{
    try {
        if (records == nullptr || count == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckBuffer(buffer, size);
        if (FAILED(check))
            return check;
        if (maximum < 1)
            return E_UNEXPECTED;
        *count = 0;
        DynamicBoundsObject<int32_t> devices;
        const HRESULT listed = GetNodeIdsOfKind(buffer, size, TypeNodeCaptureDevice, &devices);
        if (FAILED(listed))
            return listed;
        for (uint32_t place = 0; place < devices.GetCount() && place < static_cast<uint32_t>(maximum); ++place) {
            records[place].ResetStruct();
            const Node* node = FindNode(buffer, size, devices.GetElement(place));
            const bool take = ((selection & kSelectEnabled) != 0 && node->enabled != 0) ||
                              ((selection & kSelectDisabled) != 0 && node->enabled == 0);
            if (!take)
                continue;
            InfoNeedInterface& record = records[*count];
            FillSourceDescription(record, *node);
            MarkCaptureCardOutputs(buffer, size, record, *node);
            ++*count;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
