#include "archive/shareworker.h"

ShareWorker::ShareWorker(QObject *parent)
    : QObject(parent)
    , pool(new QThreadPool)
{
    pool->setMaxThreadCount(1);
}

ShareWorker::~ShareWorker()
{
    pool->clear(); // what has not started never will
    // A call stuck on the share would make the pool's destructor wait for it. The pool is left
    // to that thread instead, and the process's end takes both.
    if (waiting == 0)
        delete pool;
}
