#!/usr/bin/env python3
"""The demo report's summary, in Markdown: the installation's files sorted into
removed, kept by a keep list (with the entry that kept it) and left behind
(with the event that reported it), then every request the loopback server
received, each event code with its name.

    demo-report.py FILES_TSV POSTED_JSONL

FILES_TSV is the demo driver's list ("before", "after", "SkipDir" or
"SkipFile", a tab, a path relative to the installation; folders end in a
backslash). Exits with 1 when something was left behind that no event
reported."""
import json
import sys

SHORT = 48  # longer values (the hardware inventory) are cut
EVENTS = {
    "12040000": "confirmation",
    "12050000": "stayed",
    "12990201": "failed file",
    "12060000": "finished",
    "0": "device information",
}
PACKS = "data\\packs\\p"  # the demo's 4,000 filler files, shown as one line


def cell(text):
    text = str(text).replace("|", "\\|").replace("\n", " ")
    return text if len(text) <= SHORT else text[:SHORT] + "…"


def read_requests(path):
    try:
        with open(path, encoding="utf-8") as log:
            return [json.loads(line) for line in log if line.strip()]
    except FileNotFoundError:
        return []


def report_of(request):
    try:
        value = json.loads(request.get("info") or "")
    except ValueError:
        return None
    return value if isinstance(value, dict) else None


def event_name(request):
    if request.get("method") == "GET" and "/survey/" in request.get("path", ""):
        return "survey"
    code = request.get("code", "")
    return f"{code} {EVENTS.get(code, 'unknown event')}".strip()


# ---- The installation's files --------------------------------------------------------

def read_lists(path):
    lists = {"before": [], "after": [], "SkipDir": [], "SkipFile": []}
    with open(path, encoding="utf-8") as tsv:
        for line in tsv:
            kind, _, rel = line.rstrip("\n").partition("\t")
            lists.setdefault(kind, []).append(rel)
    return lists


def ascii_lower(text):
    """Lower-cases A to Z only, as the removal does."""
    return "".join(chr(ord(c) + 32) if "A" <= c <= "Z" else c for c in text)


def keep_entry(rel, skip_dirs, skip_files):
    """The keep-list entry that explains rel, or None. The removal compares
    whole paths with ASCII letters lower-cased; a kept folder keeps all below it."""
    low = ascii_lower(rel)
    if not low.endswith("\\"):
        for entry in skip_files:
            if low == ascii_lower(entry):
                return f"SkipFile `{entry}`"
    for entry in skip_dirs:
        folder = ascii_lower(entry) + "\\"
        if low.startswith(folder):
            return f"SkipDir `{entry}`"
    return None


def failed_file_events(requests):
    """File name (as the event gives it, lower-cased) -> ErrorMsg of each failed-file event."""
    events = {}
    for request in requests:
        if request.get("code") != "12990201":
            continue
        message = str((report_of(request) or {}).get("ErrorMsg", ""))
        name, _, _ = message.partition(",")
        events.setdefault(name.strip(), []).append(message.strip())
    return events


def collapsed(paths):
    """The paths with the filler packs as one line."""
    packs = [p for p in paths if p.startswith(PACKS)]
    rest = [f"- {p}" for p in paths if not p.startswith(PACKS)]
    if packs:
        rest.append(f"- {PACKS}*.pak: {len(packs)} files")
    return rest


def is_folder(rel):
    return rel.endswith("\\")


def classify(lists, events):
    """removed paths; (path, keep-list entry) kept; (path, event text or None) left behind."""
    after = lists["after"]
    remaining = set(after)
    removed = [p for p in lists["before"] if p not in remaining]
    kept, left = [], []
    for rel in after:
        entry = keep_entry(rel, lists["SkipDir"], lists["SkipFile"])
        if entry:
            kept.append((rel, entry))
        elif not is_folder(rel):
            reported = events.get(ascii_lower(rel.rsplit("\\", 1)[-1]))
            left.append((rel, reported[0] if reported else None))
        elif not any(p.startswith(rel) and not is_folder(p) for p in after):
            left.append((rel, None))  # an empty folder; one that holds what stays is fine
    return removed, kept, left


def report_files(lists, requests):
    removed, kept, left = classify(lists, failed_file_events(requests))

    def files(paths):
        return len([p for p in paths if not is_folder(p)])

    print("## The installation's files")
    print()
    print(f"{files(lists['before'])} files before the run: {files(removed)} removed, "
          f"{files(p for p, _ in kept)} kept by a keep list, "
          f"{files(p for p, _ in left)} left behind.")
    sections = (
        ("Left behind", [f"- {p}: " + (f"reported by 12990201 failed file, `{e}`" if e
                                       else "NO event reported it") for p, e in left]),
        ("Kept by a keep list", [f"- {p}: kept by {e}" for p, e in kept]),
        ("Removed", collapsed(removed)))
    for title, lines in sections:
        print()
        print(f"### {title}")
        print()
        print("\n".join(lines) if lines else "(none)")
    unreported = len([p for p, e in left if e is None])
    print()
    print(f"- [{'x' if unreported == 0 else ' '}] everything left behind that no keep list "
          f"explains was reported ({unreported} not reported)"
          + ("" if unreported == 0 else "  (FAILED)"))
    return unreported == 0


# ---- What the server received ---------------------------------------------------------

def members(request):
    value = report_of(request)
    if value is None:
        return cell(request.get("info", ""))
    return "<br>".join(f"{k}: {cell(json.dumps(v, ensure_ascii=False) if isinstance(v, (dict, list)) else v)}"
                       for k, v in value.items())


def report_requests(requests):
    print()
    print("## Posted to the statistics server")
    print()
    if not requests:
        print("(nothing)")
        return
    print("| # | method | event | path | members |")
    print("|---|---|---|---|---|")
    for request in requests:
        print(f"| {request.get('seq', '')} | {request.get('method', '')} "
              f"| {event_name(request)} | {cell(request.get('path', ''))} "
              f"| {members(request) if request.get('info') else ''} |")


def main(files_tsv, posted_jsonl):
    requests = read_requests(posted_jsonl)
    ok = report_files(read_lists(files_tsv), requests)
    report_requests(requests)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
