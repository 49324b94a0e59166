#pragma once
// The second line of the message "Daný sériový port neexistuje nebo se právě
// používá !": the device that the port stands for and why it did not open, so that
// the user knows what to mend (another device, the group of the device, the rate).
#include "platform/DeviceAccess.h"
#include "platform/SerialLine.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zeko {

// `port` is the port's name as the menu has it ("COM1"), `device` the device it
// stands for; `access` tells who may open the device (for a refusal).
std::string PortFailureLine(const std::string& port, const std::string& device, SerialLineFailure failure,
                            uint32_t baudRate, const std::optional<DeviceAccess>& access);

} // namespace zeko
