#include "link/device_link.h"

namespace qv {

DeviceLinkRecord DeviceLink;

void ResetLinkCounters() {
  DeviceLink.BytesSent = 0;
  DeviceLink.BytesReceived = 0;
  DeviceLink.Retries = 0;
}

}  // namespace qv
