#pragma once

#include "common/Types.h"

namespace zor {

class String;
class RefCountedData;
class IObject;
struct ObjectTypeKey;
template <typename T>
class Array;
template <typename T>
class List;
template <typename K>
struct Hash;
template <typename K>
struct EqualTo;

/// How an element type is spelled in qualified function names of log lines, the way the
/// framework's own logs spell them ("zor::List<class zor::String>::popBack").
/// Specialise it next to each type that containers log about; a type that carries a static
/// `qualifiedTypeName` (nested types, which cannot be specialised on) is spelled by it.
template <typename T>
struct QualifiedTypeName {
    static constexpr const char* value = "T";
};

/// The module name of the log lines a container of T writes: "common" for the foundation's
/// own element types; the physics module specialises it for the types of its classes.
template <typename T>
struct ContainerLogModule {
    static constexpr const char* value = "common";
};

namespace name {

constexpr std::size_t length(const char* text) {
    std::size_t count = 0;
    while (text[count] != '\0')
        ++count;
    return count;
}

/// A text usable as a template argument: Text<"zor::List<">.
template <std::size_t N>
struct FixedText {
    char text[N];
    constexpr FixedText(const char (&literal)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = literal[i];
    }
};

/// A literal piece of a joined name.
template <FixedText Literal>
struct Text {
    static constexpr const char* value = Literal.text;
};

/// The concatenation of the `value` texts of `Parts`, built at compile time.
template <typename... Parts>
struct Joined {
    static constexpr std::size_t size = (length(Parts::value) + ... + 0);
    struct Storage {
        char text[size + 1];
    };
    static constexpr Storage storage = [] {
        Storage out{};
        std::size_t at = 0;
        for (const char* part : {Parts::value...})
            for (std::size_t i = 0; part[i] != '\0'; ++i)
                out.text[at++] = part[i];
        out.text[at] = '\0';
        return out;
    }();
    static constexpr const char* value = storage.text;
};

/// The closing bracket of a template argument list: " >" after a nested one, as the
/// framework's names keep the two apart.
template <typename Last>
struct Close {
    static constexpr const char* value =
        length(Last::value) > 0 && Last::value[length(Last::value) - 1] == '>' ? " >" : ">";
};

/// The argument types of a function, comma separated; "void" for none.
template <typename... Arguments>
struct ArgumentList;

template <>
struct ArgumentList<> {
    static constexpr const char* value = "void";
};

template <typename First, typename... Rest>
struct ArgumentList<First, Rest...> {
    static constexpr const char* value =
        Joined<QualifiedTypeName<First>, Joined<Text<",">, QualifiedTypeName<Rest>>...>::value;
};

/// "<prefix><first,second,...>" with the closing bracket spelled by Close.
template <typename Prefix, typename... Arguments>
struct Template;

template <typename Prefix, typename First, typename... Rest>
struct Template<Prefix, First, Rest...> {
    using Last = typename decltype((std::type_identity<First>{}, ..., std::type_identity<Rest>{}))::type;
    static constexpr const char* value =
        Joined<Prefix, Text<"<">, QualifiedTypeName<First>, Joined<Text<",">, QualifiedTypeName<Rest>>...,
               Close<QualifiedTypeName<Last>>>::value;
};

} // namespace name

template <typename T>
requires(!std::is_const_v<T> && requires { T::qualifiedTypeName; }) struct QualifiedTypeName<T> {
    static constexpr const char* value = T::qualifiedTypeName;
};

#define ZOR_QUALIFIED_TYPE_NAME(Type, Spelling)                                                              \
    template <>                                                                                              \
    struct QualifiedTypeName<Type> {                                                                         \
        static constexpr const char* value = Spelling;                                                       \
    }

ZOR_QUALIFIED_TYPE_NAME(void, "void");
ZOR_QUALIFIED_TYPE_NAME(bool, "bool");
ZOR_QUALIFIED_TYPE_NAME(char, "char");
ZOR_QUALIFIED_TYPE_NAME(signed char, "signed char");
ZOR_QUALIFIED_TYPE_NAME(unsigned char, "unsigned char");
ZOR_QUALIFIED_TYPE_NAME(short, "short");
ZOR_QUALIFIED_TYPE_NAME(unsigned short, "unsigned short");
ZOR_QUALIFIED_TYPE_NAME(int, "int");
ZOR_QUALIFIED_TYPE_NAME(unsigned int, "unsigned int");
// The framework's platform spells 64-bit integers as __int64 and has a 32-bit long.
ZOR_QUALIFIED_TYPE_NAME(long, sizeof(long) == 8 ? "__int64" : "long");
ZOR_QUALIFIED_TYPE_NAME(unsigned long, sizeof(long) == 8 ? "unsigned __int64" : "unsigned long");
ZOR_QUALIFIED_TYPE_NAME(long long, "__int64");
ZOR_QUALIFIED_TYPE_NAME(unsigned long long, "unsigned __int64");
ZOR_QUALIFIED_TYPE_NAME(float, "float");
ZOR_QUALIFIED_TYPE_NAME(double, "double");
// A UTF-16 unit is wchar_t there, whatever type holds it here.
ZOR_QUALIFIED_TYPE_NAME(wchar_t, "wchar_t");
ZOR_QUALIFIED_TYPE_NAME(char16_t, "wchar_t");
ZOR_QUALIFIED_TYPE_NAME(String, "class zor::String");
ZOR_QUALIFIED_TYPE_NAME(RefCountedData, "class zor::RefCountedData");
ZOR_QUALIFIED_TYPE_NAME(IObject, "class zor::IObject");
ZOR_QUALIFIED_TYPE_NAME(ObjectTypeKey, "struct zor::ObjectTypeKey");

template <typename T>
struct QualifiedTypeName<const T> {
    static constexpr const char* value = name::Joined<name::Text<"const ">, QualifiedTypeName<T>>::value;
};

template <typename T>
struct QualifiedTypeName<T* const> {
    static constexpr const char* value = name::Joined<QualifiedTypeName<T*>, name::Text<" const">>::value;
};

template <typename T>
struct QualifiedTypeName<T*> {
    static constexpr const char* value = name::Joined<QualifiedTypeName<T>, name::Text<" *">>::value;
};

template <typename T>
struct QualifiedTypeName<T&> {
    static constexpr const char* value = name::Joined<QualifiedTypeName<T>, name::Text<" &">>::value;
};

template <typename R, typename... Arguments>
struct QualifiedTypeName<R (*)(Arguments...)> {
    static constexpr const char* value =
        name::Joined<QualifiedTypeName<R>, name::Text<" (__cdecl*)(">, name::ArgumentList<Arguments...>,
                     name::Text<")">>::value;
};

template <typename T>
struct QualifiedTypeName<Array<T>> {
    static constexpr const char* value = name::Template<name::Text<"class zor::Array">, T>::value;
};

template <typename T>
struct QualifiedTypeName<List<T>> {
    static constexpr const char* value = name::Template<name::Text<"class zor::List">, T>::value;
};

template <typename K>
struct QualifiedTypeName<Hash<K>> {
    static constexpr const char* value = name::Template<name::Text<"struct zor::Hash">, K>::value;
};

template <typename K>
struct QualifiedTypeName<EqualTo<K>> {
    static constexpr const char* value = name::Template<name::Text<"struct zor::EqualTo">, K>::value;
};

} // namespace zor
