#pragma once
// The program's document template: the framework's, plus the view class it creates.

#include "framework/qt/CDocTemplate.h"

class CZelDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CZelDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
};
