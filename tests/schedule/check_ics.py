#!/usr/bin/env python3
"""Reads an iCalendar file with python3-icalendar and prints its events as JSON:
{"name": X-WR-CALNAME, "events": [{"uid", "dtstart", "dtend", "summary"}]}, times in UTC as
YYYY-MM-DDTHH:MM:SSZ. Reads it again with python3-vobject, which must find the same events.
Exits 1 when the file does not parse or the two readers differ."""
import json
import sys
from datetime import timezone

import vobject
from icalendar import Calendar


def utc(value):
    moment = value.dt
    if moment.tzinfo is None:
        raise ValueError("floating time %s" % moment)
    return moment.astimezone(timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")


def main():
    with open(sys.argv[1], "rb") as f:
        calendar = Calendar.from_ical(f.read())
    events = []
    for event in calendar.walk("VEVENT"):
        for key in ("UID", "DTSTAMP", "DTSTART", "DTEND", "SUMMARY"):
            if key not in event:
                raise ValueError("event without %s" % key)
        events.append({
            "uid": str(event["UID"]),
            "dtstamp": utc(event["DTSTAMP"]),
            "dtstart": utc(event["DTSTART"]),
            "dtend": utc(event["DTEND"]),
            "summary": str(event["SUMMARY"]),
        })
    # A second reader, written by others again: the same events, the same times.
    with open(sys.argv[1], "r", encoding="utf-8", newline="") as f:
        second = vobject.readOne(f.read())
    seen = sorted((str(e.uid.value),
                   e.dtstart.value.astimezone(timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ"),
                   e.dtend.value.astimezone(timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ"))
                  for e in second.contents.get("vevent", []))
    expected = sorted((e["uid"], e["dtstart"], e["dtend"]) for e in events)
    if seen != expected:
        raise ValueError("python3-vobject reads other events: %s" % seen)
    json.dump({"version": str(calendar["VERSION"]), "prodid": str(calendar["PRODID"]),
               "name": str(calendar.get("X-WR-CALNAME", "")), "events": events},
              sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # the test shows the reason
        print("check_ics: %s" % error, file=sys.stderr)
        sys.exit(1)
