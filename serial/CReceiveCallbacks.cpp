#include "serial/CReceiveCallbacks.h"

namespace Portwire {

void CReceiveCallbacks::SetReceive(ReceiveCallback callback, void* context)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_receive = callback;
    m_receiveContext = context;
}

void CReceiveCallbacks::SetConnectionLost(ConnectionLostCallback callback, void* context)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_lost = callback;
    m_lostContext = context;
}

bool CReceiveCallbacks::HasReceiver() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_receive != nullptr;
}

bool CReceiveCallbacks::Deliver(const char* bytes, int count) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (!m_receive)
        return false;
    m_receive(m_receiveContext, bytes, count);
    return true;
}

void CReceiveCallbacks::ReportConnectionLost() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (m_lost)
        m_lost(m_lostContext);
}

} // namespace Portwire
