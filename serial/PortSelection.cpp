#include "serial/PortSelection.h"

namespace PortSelection {

int IndexOfName(const PortDiscovery::PortList& ports, const QString& name)
{
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < ports.size(); ++i) {
        if (PortDiscovery::StableNameOf(ports[i]) == name || ports[i].devicePath == name)
            return i;
    }
    return -1;
}

int InitialIndex(const PortDiscovery::PortList& ports, const QString& storedName, int storedIndex)
{
    if (!storedName.isEmpty())
        return IndexOfName(ports, storedName);
    return storedIndex >= 0 && storedIndex < ports.size() ? storedIndex : -1;
}

} // namespace PortSelection
