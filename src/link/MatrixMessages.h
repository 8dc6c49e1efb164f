#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/QuillexMessageCode.h"
#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"
#include "log/DiagLogSource.h"
#include "model/QuillexModel.h"

namespace corvane {

// What the controller knows of each matrix: baud rate, port, connection, addresses, cascade
// cost, communication status and out-of-service ports.

inline constexpr const char* kBaudRateReplyName = "Get Matrix Baud Rate Reply";
inline constexpr const char* kSerialPortReplyName = "Get Matrix Serial Port Reply";
inline constexpr const char* kCascadeCostReplyName = "Get Matrix Cascade Cost Reply";
inline constexpr const char* kConnTypeReplyName = "Get Matrix Conn Type Reply";
inline constexpr const char* kIPAddress1ReplyName = "Get Matrix IP Address 1 Reply";
inline constexpr const char* kIPAddress2ReplyName = "Get Matrix IP Address 2 Reply";
inline constexpr const char* kCommStatReplyName = "Matrix CommStat Query Reply";
inline constexpr const char* kOosPortsReplyName = "Matrix OOS Ports Query Reply";

using OosPortMap = std::array<uint8_t, kOosMapBytes>;

QuillexRequest MatrixBaudRateRequest(int matrix);
QuillexRequest MatrixPortMappingRequest(int matrix);
QuillexRequest MatrixConnTypeRequest(int matrix);
// which: 0 for the first address, 1 for the second.
QuillexRequest MatrixIPAddressRequest(int which, int matrix);
QuillexRequest MatrixCascadeCostRequest(int matrix);
QuillexRequest DeviceCommStatusRequest(int matrix);
QuillexRequest OosPortsRequest(int matrix);

// 76800, 38400, 9600 or 2400; none for the other codes, which are ignored.
Decoded<std::optional<int>> DecodeBaudRateReply(ReplyBytes payload);
Decoded<int> DecodePortMappingReply(ReplyBytes payload);
Decoded<int> DecodeCascadeCostReply(ReplyBytes payload);
// "Serial" or "Network"; none for the other codes.
Decoded<std::optional<std::string>> DecodeConnTypeReply(ReplyBytes payload);
// Dotted text, "-" for 0.
Decoded<std::string> DecodeIPAddressReply(int which, ReplyBytes payload);
// Status word ("OK" or "Bad", "-" for an unknown model), a blank, the model text.
Decoded<std::string> DecodeCommStatReply(ReplyBytes payload);
Decoded<OosPortMap> DecodeOosPortsReply(ReplyBytes payload);

// Each handler logs the reply's name, decodes and feeds the model; false when refused.
bool HandleBaudRateReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                         const CDiagLogSource& log);
bool HandlePortMappingReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                            const CDiagLogSource& log);
bool HandleCascadeCostReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                            const CDiagLogSource& log);
bool HandleConnTypeReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                         const CDiagLogSource& log);
bool HandleIPAddressReply(int which, int matrix, ReplyBytes payload, IQuillexModel& model,
                          const CDiagLogSource& log);
bool HandleCommStatReply(int matrix, ReplyBytes payload, IQuillexModel& model,
                         const CDiagLogSource& log);

}  // namespace corvane
