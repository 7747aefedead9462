// Operations on a format graph: a flat buffer of whole InfoNodeFormatGraph1 records (its size in
// bytes beside it) whose nodes are linked by node ids. Finding, numbering, linking, replacing and
// deleting nodes, and turning the capture-device nodes into source descriptions. The object keeps
// no state: the buffer is the caller's; operations that add a node grow it in the task heap.
// A missing buffer or out pointer gives E_INVALIDARG, a zero size E_UNEXPECTED, unless said
// otherwise; ids are -1 and nodes null when an operation fails.
#pragma once

#include "struct_format_graph1.h"

#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

class InfoNeedInterface;

class ObjectConvertFormatGraph1
{
public:
    // GetNodeIdsOfKind and GetChildIdsOfKind: every kind.
    static constexpr int32_t kAnyKind = 2;
    // ConvertCaptureNodes: take the enabled devices, the disabled ones.
    static constexpr uint32_t kSelectEnabled = 1;
    static constexpr uint32_t kSelectDisabled = 2;

    // The first node (free records aside) with the id; null when there is none.
    static InfoNodeFormatGraph1* FindNodeByID(uint8_t* buffer, uint32_t size, int32_t id);
    // The ids of the nodes of the kind, in buffer order.
    static HRESULT GetNodeIdsOfKind(uint8_t* buffer, uint32_t size, int32_t kind, DynamicBoundsObject<int32_t>* ids);
    // The ids in the node's output links whose nodes are of the kind, in link order; ids holds 64
    // places, those not used are -1.
    static HRESULT GetChildIdsOfKind(uint8_t* buffer, uint32_t size, int32_t id, int32_t kind, int32_t* ids,
                                     int32_t* count);
    // The first computer node, its id through the pointer.
    static InfoNodeFormatGraph1* GetRootNode(uint8_t* buffer, uint32_t size, int32_t* id);
    static HRESULT GetRootName(uint8_t* buffer, uint32_t size, int32_t* id, StaticString<292, wchar_t>* name);
    // The first count ids, counting from 1, that no node uses.
    static HRESULT GetFreeIds(uint8_t* buffer, uint32_t size, int32_t* values, int32_t count);

    // Grows the buffer by one record holding a copy of the node.
    static HRESULT AppendNode(uint8_t** buffer, uint32_t* size, const InfoNodeFormatGraph1* node);
    // Gives the node the next free id and appends it: the new id.
    static int32_t AddNode(uint8_t** buffer, uint32_t* size, InfoNodeFormatGraph1* node);

    // Output slot -1 takes the first empty one. Both sides must have room (else E_UNEXPECTED).
    static HRESULT LinkNodes(uint8_t* buffer, uint32_t size, int32_t fromId, int32_t toId, int32_t outputSlot,
                             int32_t inputSlot);
    static HRESULT UnlinkNodes(uint8_t* buffer, uint32_t size, int32_t fromId, int32_t toId);
    // Clears the parents' links to the node and frees its record.
    static HRESULT DeleteNode(uint8_t* buffer, uint32_t size, int32_t id);
    // Every descendant, then the node.
    static HRESULT DeleteNodeTree(uint8_t* buffer, uint32_t size, int32_t id);
    // The node and its descendants give way to a new capture-format node at the same output slot
    // of the node's parent: the new id.
    static int32_t ReplaceWithCaptureFormatNode(uint8_t** buffer, uint32_t* size, int32_t id);
    // As above with a filter node carrying the description, and a new capture-format child for
    // each of the filter's outputs.
    static int32_t ReplaceWithFilterNode(uint8_t** buffer, uint32_t* size, int32_t id,
                                         const InfoFilterNodeFormatGraph1* description);

    // Gives every capture format a camera id that is set and unique, counting on from the
    // counter; the ids, in buffer order, are appended to the list.
    static HRESULT NumberCaptureFormatNodes(uint8_t* buffer, uint32_t size, DynamicBoundsObject<int32_t>* ids,
                                            int32_t* counter);
    // 1 when the node is missing or a node on its way up to the computer is disabled or too short.
    static int32_t IsChainDisabled(uint8_t* buffer, uint32_t size, int32_t id);
    // 1 when no capture format below the node can be reached over enabled nodes.
    static int32_t IsPathDisabled(uint8_t* buffer, uint32_t size, int32_t id);

    // The source descriptions of at most maximum capture-device nodes chosen by the selection
    // bits; records holds maximum places.
    static HRESULT ConvertCaptureNodes(uint8_t* buffer, uint32_t size, InfoNeedInterface* records, int32_t* count,
                                       int32_t maximum, uint32_t selection);
};
