#pragma once
// One argument of a named automation call: a reference to one of the caller's variables,
// which the call reads and, for an [out] parameter, writes back.
#include <cstdint>
#include <string>

class CallArgument {
public:
    enum class Kind { omitted, int32, int64, real, boolean, text };

    CallArgument(int32_t& variable) : kind_(Kind::int32), variable_(&variable) {}
    CallArgument(int64_t& variable) : kind_(Kind::int64), variable_(&variable) {}
    CallArgument(double& variable) : kind_(Kind::real), variable_(&variable) {}
    CallArgument(bool& variable) : kind_(Kind::boolean), variable_(&variable) {}
    CallArgument(std::string& variable) : kind_(Kind::text), variable_(&variable) {}
    static CallArgument omitted() { return CallArgument(); }

    Kind kind() const { return kind_; }
    void* variable() const { return variable_; }

private:
    CallArgument() : kind_(Kind::omitted), variable_(nullptr) {}
    Kind kind_;
    void* variable_;
};
