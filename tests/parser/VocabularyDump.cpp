#include "VocabularyDump.h"

namespace {

std::string DumpObject(const CObjectDefinition& definition) {
    std::string line = definition.name + "|";
    for (std::size_t i = 0; i < definition.synonyms.size(); ++i) {
        line += (i > 0 ? "," : "") + definition.synonyms[i];
    }
    return line;
}

} // namespace

std::string DumpVerbs(const CInterfaceBackend& backend) {
    std::string dump;
    for (const auto& [name, verb] : backend.Verbs()) {
        dump += DumpObject(verb) + "|" + verb.preposition + "|" + std::to_string(verb.minnrobjects) + ".." +
                std::to_string(verb.maxnrobjects) + "\n";
    }
    return dump;
}

std::string DumpObjects(const CInterfaceBackend& backend) {
    std::string dump;
    for (const auto& [name, object] : backend.Objects()) {
        dump += DumpObject(object) + "\n";
    }
    return dump;
}
