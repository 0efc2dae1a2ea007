#!/usr/bin/env python3
"""Reads an iCalendar file with python3-icalendar and prints its events as JSON:
{"name": X-WR-CALNAME, "events": [{"uid", "dtstart", "dtend", "summary"}]}, times in UTC as
YYYY-MM-DDTHH:MM:SSZ. Exits 1 when the file does not parse."""
import json
import sys
from datetime import timezone

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
    json.dump({"version": str(calendar["VERSION"]), "prodid": str(calendar["PRODID"]),
               "name": str(calendar.get("X-WR-CALNAME", "")), "events": events},
              sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # the test shows the reason
        print("check_ics: %s" % error, file=sys.stderr)
        sys.exit(1)
