#pragma once

#include "pages/guidepage.h"

// The first page: greets the learner and explains the test. It plays only on request.
class Welcome : public GuidePage
{
    Q_OBJECT

public:
    explicit Welcome(QWidget *parent);
};
