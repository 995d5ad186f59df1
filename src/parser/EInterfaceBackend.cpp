#include "parser/EInterfaceBackend.h"

#include <utility>

EInterfaceBackend::EInterfaceBackend(std::string file, std::int32_t line, std::string message)
    : m_file(std::move(file)), m_line(line), m_message(std::move(message)) {}

EIBEDefinitionSyntax::EIBEDefinitionSyntax(std::string file, std::int32_t line, std::string message)
    : EInterfaceBackend(std::move(file), line, std::move(message)),
      m_text(File() + "(" + std::to_string(Line()) + "): " + Message()) {}

std::string EIBEDefinitionSyntax::GetText() const {
    return m_text;
}

EIBENoVerbFound::EIBENoVerbFound() : EInterfaceBackend("", 0, "No verb found") {}

EIBEUnknownVerb::EIBEUnknownVerb() : EInterfaceBackend("", 0, "Unknown verb") {}

EIBECommandNoVerb::EIBECommandNoVerb() : EInterfaceBackend("", 0, "The command doesn't contain a verb") {}

EIBECommandWrongNumberOfObjects::EIBECommandWrongNumberOfObjects(std::int32_t minimum, std::int32_t maximum,
                                                                 std::int32_t count)
    : EInterfaceBackend("", 0,
                        "Wrong number of objects: expected min " + std::to_string(minimum) + ", max " +
                            std::to_string(maximum) + "; got " + std::to_string(count)),
      m_minimum(minimum), m_maximum(maximum), m_count(count) {}
