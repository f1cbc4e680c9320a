#pragma once

#include "cli/CliCommand.h"
#include "core/host/SpreadsheetHostFactory.h"

namespace brelix::cli {

// "cells FILE": every worksheet's header line and the texts of its non-empty cells, as the
// comparison and the search read them.
class CellsCommand : public CliCommand {
public:
    explicit CellsCommand(host::SpreadsheetHostFactory& factory);

    // What the command line asks for.
    struct Options {
        QString file;
        bool formulas = false;
        std::optional<QString> password;
    };
    // A status when the command ends here (its help, or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;

    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

protected:
    QString description() const override;
    QList<QCommandLineOption> options() const override;

private:
    void listSheet(host::SpreadsheetHost& host, const QString& book, int sheet,
                   const Options& options, QTextStream& out, QTextStream& err) const;
    void listCells(host::SpreadsheetHost& host, const QString& book, int sheet,
                   const host::CellPosition& last, host::CellTextKind kind, QTextStream& out) const;

    host::SpreadsheetHostFactory& m_factory;
};

} // namespace brelix::cli
