#include "serial/CReceiverSlot.h"

namespace Portwire {

void CReceiverSlot::Set(IReceiver* receiver)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_receiver = receiver;
}

bool CReceiverSlot::HasReceiver() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_receiver != nullptr;
}

bool CReceiverSlot::Deliver(const char* bytes, int count) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (!m_receiver)
        return false;
    m_receiver->OnReceive(bytes, count);
    return true;
}

void CReceiverSlot::ReportConnectionLost() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (m_receiver)
        m_receiver->OnConnectionLost();
}

} // namespace Portwire
