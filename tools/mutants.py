#!/usr/bin/env python3
"""Breaks the program's money and data rules one at a time and says which
tests catch each break: the faults the suites are there to find.

    python3 tools/mutants.py [BUILD_DIR [FIRST]]   (default: build, already built; from break 1)

Each break below is a source text replaced by another. The program is
rebuilt with it, every suite on a file is run (the server's suites need
their cluster and are left out), and the source is put back, whatever
happens. A break no test catches is printed as such; so is, for each test,
any break it alone catches, which is what a test must not lose when the
suites are folded. Takes a couple of minutes a break.
"""
import os
import re
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, sys.argv[1] if len(sys.argv) > 1 else "build")
SUITES = ["test_store", "test_app", "test_residents", "test_payments", "test_expenses",
          "test_reports", "test_backups", "test_owing", "test_bank"]

# (the rule, the file, the text, the text that breaks it)
BREAKS = [
    ("a share's remainder goes to the largest", "src/ledger/shares.cpp",
     "a.first > b.first", "a.first < b.first"),
    ("a split gives every agora", "src/ledger/shares.cpp",
     "left > 0; --left", "left > 1; --left"),
    ("the dues in force start on their month", "src/ledger/dues.cpp",
     "return m < r.from;", "return m <= r.from;"),
    ("a payment's agorot go to its last month", "src/ledger/matrix.cpp",
     "m == last ? whole - given", "m == first ? whole - given"),
    ("a levy instalment falls due on its own day", "src/ledger/levies.cpp",
     "levy.firstDue.addMonths(come) <= date", "levy.firstDue.addMonths(come) < date"),
    ("a levy's leftover agorot fall due with the last", "src/ledger/levies.cpp",
     "  if (come == levy.instalments)\n    return amount;\n", ""),
    ("a statement's last instalment takes the leftover", "src/ledger/statement.cpp",
     "i + 1 == levy.instalments ? whole - part * i : part", "part"),
    ("a period opens with what came before it", "src/ledger/period.cpp",
     "details.openDate, from.addDays(-1)", "details.openDate, from"),
    ("nothing is owed before the books' start", "src/ledger/owing.cpp",
     "if (ledger::monthIndex(key.second, m + 1) < dues.start())",
     "if (ledger::monthIndex(key.second, m + 1) <= dues.start())"),
    ("earlier years' debt is the years before the date's", "src/ledger/owing.cpp",
     "if (key.second < date.year())", "if (key.second <= date.year())"),
    ("a month paid in part is not paid", "src/ledger/owing.cpp",
     "if (credited < owed.agorot())", "if (credited == 0)"),
    ("what a month was paid over covers the earliest lacking", "src/ledger/owing.cpp",
     "if (over >= short_)", "if (over > short_)"),
    ("a cancelled row is taken back in the journal", "src/store/journal.cpp",
     "add(store, source, reciept, forText, Money() - amount, date);",
     "add(store, source, reciept, forText, amount, date);"),
    ("a payment of several parts is one transaction", "src/payments/payment.cpp",
     "      write(store, inputs[i], checked[i], receipt);\n",
     "      write(store, inputs[i], checked[i], receipt);\n      if (i == 0)\n        transaction.commit();\n"),
    ("a closed period's last day is closed", "src/store/laterversions.cpp",
     'QStringLiteral(" <= ") + closed', 'QStringLiteral(" < ") + closed'),
    ("a fund transfer leaves the fund it comes from", "src/ledger/funds.cpp",
     "coalesce(from_fund, 0), 0, 0, -amount", "coalesce(from_fund, 0), 0, 0, amount"),
    ("a CSV field doubles its quotes", "src/printing/csv.cpp",
     'value.replace(QLatin1Char(\'"\'), QStringLiteral("\\"\\""));',
     'value.replace(QLatin1Char(\'"\'), QStringLiteral("\\""));'),
    ("the ten newest backups are kept", "src/store/backups.cpp",
     "std::min<qsizetype>(10, all.size())", "std::min<qsizetype>(9, all.size())"),
    ("an amount is at most 9,999,999.99", "src/text/input.cpp",
     "if (!parsed || parsed->agorot() > maxAgorot ||", "if (!parsed || parsed->agorot() > maxAgorot + 1 ||"),
    ("a large payment is asked about past twice the dues", "src/payments/incomingwindow.cpp",
     "> 2 * dues->agorot()", ">= 2 * dues->agorot()"),
]


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, errors="replace", **kwargs)


def failing(suite):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = run([os.path.join(BUILD, "tests", suite)], env=env, timeout=600).stdout
    return {suite + ":" + m for m in re.findall(r"^FAIL!  : \w+::(\w+)\(", out, re.M)}


def caught():
    with ThreadPoolExecutor(2) as pool:
        return set().union(*pool.map(failing, SUITES))


def main():
    run(["cmake", "--build", BUILD, "-j2"])  # as the sources stand, after any run cut short
    assert not caught(), "the suites fail before any break"
    killers = {}
    for rule, path, text, broken in BREAKS[int(sys.argv[2]) - 1 if len(sys.argv) > 2 else 0:]:
        source = os.path.join(ROOT, path)
        original = open(source, encoding="utf-8").read()
        if original.count(text) != 1:
            print(f"?? {rule}: the text is not in {path} once")
            continue
        try:
            open(source, "w", encoding="utf-8").write(original.replace(text, broken))
            if run(["cmake", "--build", BUILD, "-j2"]).returncode:
                print(f"?? {rule}: does not build")
                continue
            killers[rule] = caught()
        finally:
            open(source, "w", encoding="utf-8").write(original)
        print(f"{rule}: {', '.join(sorted(killers[rule])) or 'CAUGHT BY NO TEST'}", flush=True)
    run(["cmake", "--build", BUILD, "-j2"])
    alone = {}
    for rule, tests in killers.items():
        if len(tests) == 1:
            alone.setdefault(next(iter(tests)), []).append(rule)
    print("\nCaught by one test alone:")
    for test, rules in sorted(alone.items()):
        print(f"  {test}: {'; '.join(rules)}")


if __name__ == "__main__":
    main()
