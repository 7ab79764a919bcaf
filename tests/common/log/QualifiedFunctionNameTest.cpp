#include "common/log/QualifiedFunctionName.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

std::string qualified(const char* signature) {
    char name[256];
    qualifiedFunctionName(signature, name, sizeof name);
    return name;
}

TEST(QualifiedFunctionName, ReducesCompilerSignatures) {
    EXPECT_EQ(qualified("void zor::String::pushBackUTF8String(const char*)"),
              "zor::String::pushBackUTF8String");
    EXPECT_EQ(qualified("zor::WObject::~WObject()"), "zor::WObject::~WObject");
    EXPECT_EQ(qualified("zor::IObject* zor_createObject()"), "zor_createObject");
    EXPECT_EQ(qualified("bool zor::physicsInitialize(zor::ApplicationData*)"), "zor::physicsInitialize");
    EXPECT_EQ(
        qualified("void zor::RigidBody3DAttribute<T>::copy_Backwards(const zor::IObject*) [with T = float]"),
        "zor::RigidBody3DAttribute<float>::copy_Backwards");
    EXPECT_EQ(
        qualified("zor::HashMapBase<K, V, H, E>::Iterator zor::HashMapBase<K, V, H, E>::find(const K&) "
                  "[with K = unsigned char; V = int; H = zor::Hash<unsigned char>; E = zor::EqualTo<unsigned "
                  "char>]"),
        "zor::HashMapBase<unsigned char, int, zor::Hash<unsigned char>, zor::EqualTo<unsigned char>>::find");
}

TEST(QualifiedFunctionName, OddSignaturesEndWithANameWithinTheCapacity) {
    // Signature, name. An empty parameter name substitutes nothing and must not stall the scan.
    const char* const cases[][2] = {
        {"void f<,>() [with  = int]", "f<,>"},
        {"void f<T>() [with  = int; T = float]", "f<float>"},
        {"void f<T>() [with T = ]", "f<>"},
        {"void f<T>() [with T = int", "f<int>"},
        {"void f<T>() [with ; ; T = int]", "f<int>"},
        {"", ""},
        {"(", ""},
    };
    for (const auto& [signature, name] : cases)
        EXPECT_EQ(qualified(signature), name) << signature;

    // A substitution that outgrows the buffers is cut, never written past.
    const std::string longValue(2000, 'v');
    const std::string signature = "void f<T, T>() [with T = " + longValue + "]";
    char tiny[8];
    qualifiedFunctionName(signature.c_str(), tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "f<vvvvv");
    EXPECT_EQ(qualified(signature.c_str()).size(), 255u);
}

} // namespace
} // namespace zor
