#include "platform/rtl/Objects.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

QString TObject::ClassName() const {
    const char* Mangled = typeid(*this).name();
    int Status = 0;
    std::unique_ptr<char, decltype(&std::free)> Plain(abi::__cxa_demangle(Mangled, nullptr, nullptr, &Status),
                                                      &std::free);
    QString Name = QString::fromLatin1(Status == 0 && Plain ? Plain.get() : Mangled);
    // A template argument list may hold "::" of its own: only the part before it is the path.
    int End = Name.indexOf(QLatin1Char('<'));
    if (End < 0) End = int(Name.size());
    const int Sep = Name.lastIndexOf(QLatin1String("::"), End - 1);
    return Sep >= 0 ? Name.mid(Sep + 2) : Name;
}
