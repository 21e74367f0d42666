"""The local peers of a whole installer run, started together.

    ports = Ports.of_build(build_dir)          # the test build's deployment.h
    with Stack(package_file, ports) as stack:
        stack.package_url, stack.package_md5, stack.package_size
        ... run the installer ...
        stack.cdn.requests(), stack.gateway.requests(), stack.collector.records()

nginx serves the setup package on the CDN port (a copy of the file, with
ranges), the gateway fixture answers the package query with that address, its
MD5 and size, the collector takes the analytics uploads, and the report
service (optional) takes install reports. Everything listens on 127.0.0.1 only.
"""

import contextlib
import os
import re
import shutil
import sys
import tempfile
from typing import NamedTuple

HERE = os.path.dirname(os.path.abspath(__file__))
for folder in ("cdn", "gateway", "collector", "report"):
    sys.path.insert(0, os.path.join(HERE, folder))
from cdn import Cdn  # noqa: E402
from collector_client import Collector, free_port  # noqa: E402
from gateway_control import Gateway  # noqa: E402
from report_service import ReportService  # noqa: E402

PACKAGE_QUERY = "/applicationService/installer/getAppVersion"
WELCOME_QUERY = "/applicationService/channel/welcome"


class Ports(NamedTuple):
    gateway: int
    cdn: int
    analytics: int
    report: int
    site_root: str
    cdn_host: str

    @classmethod
    def of_build(cls, build_dir):
        """The deployment values a build was configured with (its deployment.h)."""
        with open(os.path.join(build_dir, "generated", "deployment.h"), encoding="utf-8") as f:
            text = f.read()

        def value(name):
            match = re.search(r"\b%s(?:\[\])? = \"?([^\";]*)\"?;" % name, text)
            if not match:
                raise ValueError(f"{name} missing in deployment.h of {build_dir}")
            return match.group(1)

        return cls(int(value("GATEWAY_PORT")), int(value("CDN_PORT")), int(value("ANALYTICS_PORT")),
                   int(value("REPORT_PORT")), value("WEB_SITE_ROOT"), value("CDN_HOST"))


class Stack:
    """Gateway fixture, CDN, collector and (with report=True) report service.

    `version` is what the gateway calls the newest package, `welcome` the
    channel's welcome data."""

    def __init__(self, package_file, ports, version="2.1.0.5", welcome=None, report=False):
        self.package_file = package_file
        self.ports = ports
        self.version = version
        self.welcome = welcome or {}
        self.want_report = report
        self.url_path = "/pkg/" + os.path.basename(package_file)
        self.package_fields = {}
        self.cdn = self.gateway = self.collector = self.report = None
        self.store = None
        self.exits = contextlib.ExitStack()

    def __enter__(self):
        try:
            self.store = tempfile.mkdtemp(prefix="tessaro-stack-")
            self.exits.callback(shutil.rmtree, self.store, ignore_errors=True)
            self.cdn = self.exits.enter_context(
                Cdn(self.ports.cdn, free_port(), {self.url_path: self.package_file}))
            self.package_url = f"http://{self.ports.cdn_host}:{self.ports.cdn}{self.url_path}"
            self.package_md5 = self.cdn.md5s[self.url_path]
            self.package_size = self.cdn.sizes[self.url_path]
            self.gateway = self.exits.enter_context(Gateway(["127.0.0.1"], self.ports.gateway, self.routes()))
            self.collector = self.exits.enter_context(Collector(self.store, port=self.ports.analytics))
            if self.want_report:
                self.report = self.exits.enter_context(ReportService(port=self.ports.report))
        except BaseException:
            self.exits.close()
            raise
        return self

    def __exit__(self, *exc):
        self.exits.close()

    def package_data(self):
        data = {"downloadUrl": self.package_url, "versionCode": self.version, "softwareCode": "tessaro",
                "size": str(self.package_size), "md5": self.package_md5}
        data.update(self.package_fields)
        return {key: value for key, value in data.items() if value is not None}

    def routes(self):
        return {
            PACKAGE_QUERY: {"body": {"code": "server.success", "data": self.package_data()}},
            WELCOME_QUERY: {"body": {"code": "server.success", "data": self.welcome}},
        }

    def set_package(self, **fields):
        """Changes members of the package answer (None drops one), e.g.
        downloadUrl=... for a package that is not there."""
        self.package_fields.update(fields)
        self.gateway.set_routes(self.routes())

    def package_requests(self):
        """The CDN's log lines for the package, oldest first."""
        return [entry for entry in self.cdn.requests() if entry["path"] == self.url_path]

    def event_names(self):
        return [record["event"]["name"] for record in self.collector.records() if record.get("kind") == 6]
