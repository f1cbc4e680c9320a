#include "host/libreoffice/UnoHelpers.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/AddressConvention.hpp>
#include <com/sun/star/sheet/FormulaLanguage.hpp>
#include <com/sun/star/sheet/FormulaMapGroup.hpp>
#include <com/sun/star/sheet/XFormulaOpCodeMapper.hpp>

namespace brelix::libreoffice {

using namespace css;

uno::Reference<sheet::XFormulaParser>
userFormulaParser(const uno::Reference<sheet::XSpreadsheetDocument>& document)
{
    const uno::Reference<lang::XMultiServiceFactory> factory{document, uno::UNO_QUERY_THROW};
    const uno::Reference<sheet::XFormulaParser> parser{
        factory->createInstance(OUString("com.sun.star.sheet.FormulaParser")),
        uno::UNO_QUERY_THROW};
    const uno::Reference<sheet::XFormulaOpCodeMapper> mapper{
        factory->createInstance(OUString("com.sun.star.sheet.FormulaOpCodeMapper")),
        uno::UNO_QUERY_THROW};
    const uno::Reference<beans::XPropertySet> props{parser, uno::UNO_QUERY_THROW};
    props->setPropertyValue(OUString("FormulaConvention"),
                            uno::Any(sheet::AddressConvention::XL_A1));
    props->setPropertyValue(
        OUString("OpCodeMap"),
        uno::Any(mapper->getAvailableMappings(sheet::FormulaLanguage::XL_ENGLISH,
                                              sheet::FormulaMapGroup::ALL_EXCEPT_SPECIAL)));
    return parser;
}

} // namespace brelix::libreoffice
