#pragma once
// Root of the framework's object hierarchy: run-time class names let hint
// objects and documents be told apart without RTTI tricks.
namespace vantorel {

class CObject {
public:
    virtual ~CObject() = default;
    virtual const char* GetRuntimeClassName() const { return "CObject"; }
};

} // namespace vantorel
