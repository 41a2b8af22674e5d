#include "SerialQueue.h"

#include "core/ThreadHandOff.h"

SerialQueue::SerialQueue()
{
    m_pool.setMaxThreadCount(1);
}

SerialQueue::~SerialQueue()
{
    m_pool.waitForDone();
    ThreadHandOff::waitedFor();
}

void SerialQueue::run(std::function<void()> job)
{
    m_pool.start(ThreadHandOff::handedOver(std::move(job)));
}

void SerialQueue::waitForDone()
{
    m_pool.waitForDone();
    ThreadHandOff::waitedFor();
}
