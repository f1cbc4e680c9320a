#pragma once

#include "cli/CliCommand.h"
#include "core/host/SpreadsheetHostFactory.h"

#include <optional>

namespace brelix::cli {

// "cells FILE": every worksheet's header line and the texts of its non-empty cells, as the
// comparison and the search read them.
class CellsCommand : public CliCommand {
public:
    explicit CellsCommand(host::SpreadsheetHostFactory& factory) : m_factory(factory) {}

    QString name() const override;
    QString summary() const override;
    QString help() const override;
    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

private:
    struct Options {
        QString file;
        bool formulas = false;
        std::optional<QString> password;
    };

    // An exit status when the command ends here (help or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;
    void listSheet(host::SpreadsheetHost& host, const QString& book, int sheet,
                   const Options& options, QTextStream& out, QTextStream& err) const;
    void listCells(host::SpreadsheetHost& host, const QString& book, int sheet,
                   const host::CellPosition& last, host::CellTextKind kind, QTextStream& out) const;

    host::SpreadsheetHostFactory& m_factory;
};

} // namespace brelix::cli
