"""A small web server on 127.0.0.1 for the end-to-end tests: it serves pages
as bytes (GBK pages as they are), can answer late, can take a request and
hold it without an answer until told, and, stopped, refuses connections.
Every request is recorded with the moment it arrived.

    with web.Server(18231) as server:
        server.route("/online/main.htm", page_bytes)
        server.route("/online/main.htm", hold=True)      # accepted, never answered
        ...
        request = server.wait_request("/online/main.htm", timeout=15)
        server.release("/online/main.htm")               # let held requests go on

Paths without a route get 404.
"""

import http.server
import threading
import time
from dataclasses import dataclass, field


@dataclass
class Route:
    body: bytes = b""
    content_type: str = "text/html; charset=gbk"
    status: int = 200
    delay: float = 0.0  # seconds before the answer
    hold: bool = False  # keep the request unanswered until release()
    released: threading.Event = field(default_factory=threading.Event)


@dataclass
class Request:
    at: float  # time.monotonic() when the request line and headers had arrived
    method: str
    path: str
    version: str
    headers: dict


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        server = self.server.owner
        server._record(Request(time.monotonic(), self.command, self.path, self.request_version,
                               {k.lower(): v for k, v in self.headers.items()}))
        route = server._route(self.path.split("?", 1)[0])
        if route is None:
            self._answer(404, "text/html", b"<h1>404 Not Found</h1>")
            return
        if route.hold:
            while not (route.released.is_set() or server.stopping.is_set()):
                route.released.wait(0.1)
            if server.stopping.is_set():
                return
        if route.delay and server.stopping.wait(route.delay):
            return
        self._answer(route.status, route.content_type, route.body)

    def _answer(self, status, content_type, body):
        try:
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        except OSError:
            pass  # the client went away


class _HttpServer(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class Server:
    """The server, on its own thread; use as a context manager."""

    def __init__(self, port, host="127.0.0.1"):
        self.host = host
        self.port = port
        self.routes = {}
        self.requests = []
        self.lock = threading.Lock()
        self.arrived = threading.Condition(self.lock)
        self.stopping = threading.Event()
        self.httpd = None
        self.thread = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        self.stopping.clear()
        self.httpd = _HttpServer((self.host, self.port), _Handler)
        self.httpd.owner = self
        self.thread = threading.Thread(target=self.httpd.serve_forever, kwargs={"poll_interval": 0.05},
                                       name=f"web:{self.port}", daemon=True)
        self.thread.start()

    def stop(self):
        """Ends held and late answers without a reply and closes the port
        (further connections are refused)."""
        self.stopping.set()
        if self.httpd:
            self.httpd.shutdown()
            self.httpd.server_close()
            self.httpd = None
        if self.thread:
            self.thread.join(timeout=10)
            self.thread = None

    def url(self, path):
        return f"http://{self.host}:{self.port}{path}"

    # ---- routes -------------------------------------------------------------

    def route(self, path, body=b"", **options):
        with self.lock:
            self.routes[path] = Route(body=body, **options)

    def release(self, path):
        """Lets requests held on path go on (they get the route's answer)."""
        with self.lock:
            route = self.routes.get(path)
        if route:
            route.released.set()

    def _route(self, path):
        with self.lock:
            return self.routes.get(path)

    # ---- requests -----------------------------------------------------------

    def _record(self, request):
        with self.arrived:
            self.requests.append(request)
            self.arrived.notify_all()

    def requests_for(self, path):
        with self.lock:
            return [r for r in self.requests if r.path.split("?", 1)[0] == path]

    def wait_request(self, path, timeout, count=1):
        """The count-th request for path, once it has arrived; None after timeout s."""
        deadline = time.monotonic() + timeout
        with self.arrived:
            while True:
                found = [r for r in self.requests if r.path.split("?", 1)[0] == path]
                if len(found) >= count:
                    return found[count - 1]
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.arrived.wait(left)
