#pragma once

#include <cstdint>
#include <exception>
#include <string>

// Errors of the command parser, kept apart from CADVException: a bad sentence is
// an ordinary event the game answers, and only a bad definition file ends the
// run (under its own caption). Every kind carries a file, a line and a message;
// the sentence errors leave the file empty and the line 0.
class EInterfaceBackend : public std::exception {
public:
    // The text shown to whoever catches it: the message, unless a kind says more.
    virtual std::string GetText() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

    const std::string& File() const { return m_file; }
    std::int32_t Line() const { return m_line; }
    const std::string& Message() const { return m_message; }

protected:
    EInterfaceBackend(std::string file, std::int32_t line, std::string message);

private:
    std::string m_file;
    std::int32_t m_line;
    std::string m_message;
};

// A syntax error in a definition file: "file(line): message".
class EIBEDefinitionSyntax : public EInterfaceBackend {
public:
    EIBEDefinitionSyntax(std::string file, std::int32_t line, std::string message);
    std::string GetText() const override;
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};

// No word-prefix of the sentence names a verb.
class EIBENoVerbFound : public EInterfaceBackend {
public:
    EIBENoVerbFound();
};

// A verb word whose verb has no definition.
class EIBEUnknownVerb : public EInterfaceBackend {
public:
    EIBEUnknownVerb();
};

// An object or the preposition asked for before a verb was set.
class EIBECommandNoVerb : public EInterfaceBackend {
public:
    EIBECommandNoVerb();
};

// One object more than the verb takes.
class EIBECommandWrongNumberOfObjects : public EInterfaceBackend {
public:
    EIBECommandWrongNumberOfObjects(std::int32_t minimum, std::int32_t maximum, std::int32_t count);

    std::int32_t Minimum() const { return m_minimum; }
    std::int32_t Maximum() const { return m_maximum; }
    std::int32_t Count() const { return m_count; }

private:
    std::int32_t m_minimum;
    std::int32_t m_maximum;
    std::int32_t m_count;
};
