#pragma once

#include <QString>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

namespace vorlin::platform {

// Where the office's programs and registries are.
QString officeProgramDir();

// Whether the office is installed: its start program and its bootstrap file.
bool officeInstalled();

// The component context of this process, made once from the office's own
// type and service registries.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> localUnoContext();

inline rtl::OUString toOffice(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), sal_Int32(text.size()));
}

inline QString fromOffice(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

}  // namespace vorlin::platform
