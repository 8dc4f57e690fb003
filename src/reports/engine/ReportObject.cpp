#include "reports/engine/ReportObject.h"

ReportObject::~ReportObject() = default;
