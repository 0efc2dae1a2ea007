#!/usr/bin/python3
"""The status board in a real browser, and under load.

Starts kelvaris-alarmsim and kelvarisd (the environment names the data folder, the socket and a
free port for the board), then reads the pages with Debian's Chromium through Selenium:
the board, a target's week and the wall view in each language must show the names and times a
person looks for, log no console error, and pass axe-core with no serious or critical violation;
the English and German pictures go to the README's gallery. Then 200 board requests a second for
60 seconds while clients ask the socket as fast as they can: every request answered, the socket's
answers flowing, and the program's memory grown by less than 5 MB.
"""
import argparse
import json
import os
import re
import socket
import subprocess
import sys
import threading
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

TITLES = {"en": "Who is on duty", "de": "Wer hat Dienst", "fr": "Qui est de service",
          "nl": "Wie heeft dienst", "es": "Quién está de guardia"}
FAILURES = []


def check(condition, text):
    if not condition:
        FAILURES.append(text)
        print("FAIL:", text, flush=True)


def start(build, targets):
    sim = subprocess.Popen([f"{build}/bin/kelvaris-alarmsim", "--targets", targets],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    kelvaris = subprocess.Popen([f"{build}/bin/kelvarisd"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, text=True)
    deadline = time.time() + 20
    while time.time() < deadline:
        line = kelvaris.stderr.readline()
        match = re.search(r"status board is served at (\S+)", line)
        if match:
            threading.Thread(target=lambda: [None for _ in kelvaris.stderr], daemon=True).start()
            time.sleep(2.0)  # the first cycle and the coverage look
            return sim, kelvaris, match.group(1).rstrip("/")
    raise SystemExit("check-board-browser: kelvarisd served no board")


def browser():
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1920,1080",
                     "--disable-dev-shm-usage", "--hide-scrollbars"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def axe(driver, script, page):
    driver.execute_script(script)
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {resultTypes: ['violations']}).then(r => done(JSON.stringify(r.violations)))"
        ".catch(e => done(JSON.stringify([{id: 'axe-error', impact: 'critical', help: String(e), nodes: []}])));")
    for violation in json.loads(result):
        check(violation.get("impact") not in ("serious", "critical"),
              f"{page}: axe {violation['impact']} {violation['id']}: {violation['help']} "
              f"({len(violation.get('nodes', []))} elements)")


def pages(driver, base, axe_script, shots):
    for lang, title in TITLES.items():
        for name, path in (("board", f"/?lang={lang}"), ("wall", f"/?display=wall&lang={lang}"),
                           ("target", f"/target/108?lang={lang}")):
            driver.get(base + path)
            page = f"{name}-{lang}"
            body = driver.find_element(By.TAG_NAME, "body").text
            heading = driver.find_element(By.TAG_NAME, "h1").text
            check(driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == lang, f"{page}: lang")
            if name == "target":
                check("Hannes Vogel" in heading, f"{page}: the target's name in the heading: {heading!r}")
                check(re.search(r"\d\d:\d\d", body) is not None, f"{page}: duty times")
                check(len(driver.find_elements(By.CSS_SELECTOR, "a[rel=prev]")) == 1
                      and len(driver.find_elements(By.CSS_SELECTOR, "a[rel=next]")) == 1, f"{page}: week links")
            else:
                check(heading == title, f"{page}: heading {heading!r}, not {title!r}")
                for group in ("Service Desk", "On-Call Duty", "Network Operations"):
                    check(group in body, f"{page}: the group {group} is shown")
                check(re.search(r"\b\d\d:\d\d\b", body) is not None, f"{page}: times are shown")
            # Nothing cut off on a 1920x1080 wall screen: the page is no wider than the window.
            width = driver.execute_script("return document.documentElement.scrollWidth")
            check(width <= 1920, f"{page}: {width} px wide")
            if name == "wall":
                height = driver.execute_script("return document.documentElement.scrollHeight")
                check(height <= 1080, f"{page}: the wall view is {height} px high")
            errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
            check(not errors, f"{page}: console errors {errors}")
            axe(driver, axe_script, page)
            if shots and lang in ("en", "de"):
                driver.save_screenshot(os.path.join(shots, f"web-{name}-{lang}.png"))


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def load(base, pipe_name, pid, seconds=60, rate=200):
    """200 board requests a second, and socket clients asking as fast as they can."""
    stop = threading.Event()
    checks = [0]

    def socket_client():
        request = (b'<?xml version="1.0"?><TimeCmd Name="CheckDispatching"><DispatchingID>101</DispatchingID>'
                   b'<GroupID>201</GroupID><Time>2026-12-08 10:00:00</Time></TimeCmd>\0')
        address = b"\0" + pipe_name.encode()
        while not stop.is_set():
            with socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET) as client:
                client.settimeout(5)
                client.connect(address)
                client.send(request)
                if client.recv(4096):
                    checks[0] += 1

    clients = [threading.Thread(target=socket_client, daemon=True) for _ in range(2)]
    for client in clients:
        client.start()
    time.sleep(2)
    before = rss_kb(pid)
    answered = failed = 0
    start = time.time()
    checks_at_start = checks[0]
    for i in range(seconds * rate):
        due = start + i / rate
        wait = due - time.time()
        if wait > 0:
            time.sleep(wait)
        path = ("/", "/?display=wall", "/api/v1/state", "/metrics")[i % 4]
        try:
            with urllib.request.urlopen(base + path, timeout=5) as response:
                answered += response.status == 200
                response.read()
        except OSError:
            failed += 1
    elapsed = time.time() - start
    stop.set()
    for client in clients:
        client.join(10)
    after = rss_kb(pid)
    rate_done = (answered + failed) / elapsed
    socket_rate = (checks[0] - checks_at_start) / elapsed
    print(f"load: {answered} answered, {failed} failed in {elapsed:.1f} s ({rate_done:.0f} requests/s); "
          f"socket beside it: {socket_rate:.0f} checks/s; memory {before} kB -> {after} kB "
          f"({(after - before) / 1024:+.2f} MB)", flush=True)
    check(failed == 0, f"load: {failed} requests failed")
    check(rate_done >= rate * 0.95, f"load: only {rate_done:.0f} requests a second")
    check(socket_rate > 100, f"load: the socket answered only {socket_rate:.0f} checks a second")
    check(after - before < 5 * 1024, f"load: memory grew by {(after - before) / 1024:.1f} MB")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--axe", required=True)
    parser.add_argument("--targets", required=True)
    parser.add_argument("--shots", default="")
    parser.add_argument("--load", type=int, default=1)
    arguments = parser.parse_args()
    with open(arguments.axe) as file:
        axe_script = file.read()
    sim, kelvaris, base = start(arguments.build, arguments.targets)
    try:
        driver = browser()
        try:
            pages(driver, base, axe_script, arguments.shots)
        finally:
            driver.quit()
        if arguments.load:
            load(base, os.environ["KELVARIS_PIPE_NAME"], kelvaris.pid)
        check(kelvaris.poll() is None, "kelvarisd ended")
    finally:
        for process in (kelvaris, sim):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
    if FAILURES:
        print(f"check-board-browser: {len(FAILURES)} failure(s)")
        return 1
    print("check-board-browser: every page as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
