#pragma once

#include <QStringList>
#include <com/sun/star/frame/XDesktop2.hpp>

namespace brelix::libreoffice {

// Writes a small workbook of numbers and texts into `folder` in each kind jobs open most (.xls
// and .xlsx), through the office itself; their paths. Opening and saving them once loads what
// an office otherwise loads during its first job: filters, fonts, number formats.
QStringList writeWarmUpWorkbooks(const css::uno::Reference<css::frame::XDesktop2>& desktop,
                                 const QString& folder);

} // namespace brelix::libreoffice
