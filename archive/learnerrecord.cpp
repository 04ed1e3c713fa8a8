#include "learnerrecord.h"

LearnerRecord &currentLearner()
{
    static LearnerRecord record;
    return record;
}
