#!/usr/bin/env python3
"""Prints the requests of the loopback server's log as a Markdown table:
sequence, event code, path and the decoded members of each report."""
import json
import sys

SHORT = 48  # longer values (the hardware inventory) are cut


def cell(text):
    text = str(text).replace("|", "\\|").replace("\n", " ")
    return text if len(text) <= SHORT else text[:SHORT] + "…"


def members(info):
    try:
        value = json.loads(info)
    except ValueError:
        return cell(info)
    if not isinstance(value, dict):
        return cell(value)
    return "<br>".join(f"{k}: {cell(json.dumps(v, ensure_ascii=False) if isinstance(v, (dict, list)) else v)}"
                       for k, v in value.items())


def main(path):
    print("| # | method | code | path | members |")
    print("|---|---|---|---|---|")
    with open(path, encoding="utf-8") as log:
        for line in log:
            if not line.strip():
                continue
            request = json.loads(line)
            print(f"| {request.get('seq', '')} | {request.get('method', '')} "
                  f"| {request.get('code', '')} | {cell(request.get('path', ''))} "
                  f"| {members(request.get('info', '')) if request.get('info') else ''} |")


if __name__ == "__main__":
    main(sys.argv[1])
