#include "toolkit/CNResourceBase.h"

CNResourceBase::~CNResourceBase() = default;
