#include "SerialQueue.h"

SerialQueue::SerialQueue()
{
    m_pool.setMaxThreadCount(1);
}

SerialQueue::~SerialQueue()
{
    m_pool.waitForDone();
}

void SerialQueue::run(std::function<void()> job)
{
    m_pool.start(std::move(job));
}

void SerialQueue::waitForDone()
{
    m_pool.waitForDone();
}
