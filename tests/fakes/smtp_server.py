"""A real SMTP server for the mail tests: aiosmtpd on a loopback port.

Run with Debian's /usr/bin/python3, which sees python3-aiosmtpd. Prints "PORT <n>" once it
listens. Every connection, login, deferred recipient, message and QUIT is appended to the record file as

    <EVENT> <session>\n  then fields "<name> <byte count>\n<bytes>\n"  then "END\n"

so that the test can read any bytes back exactly.
"""

import argparse
import asyncio
import itertools
import os
import signal
import sys

from aiosmtpd.smtp import MISSING, SMTP, AuthResult


class Recorder:
    def __init__(self, path):
        self._file = open(path, "ab")

    def write(self, event, session, fields=()):
        out = [f"{event} {session}\n".encode()]
        for name, value in fields:
            if isinstance(value, str):
                value = value.encode("utf-8", "surrogateescape")
            out.append(f"{name} {len(value)}\n".encode() + value + b"\n")
        out.append(b"END\n")
        self._file.write(b"".join(out))
        self._file.flush()


class Handler:
    def __init__(self, recorder, user, password, hangup_after, deferred):
        self._recorder = recorder
        self._user = user.encode() if user is not None else None
        self._password = password.encode() if password is not None else None
        self._hangup_after = hangup_after
        self._deferred = set(deferred)
        self._messages = 0

    def check(self, session, mechanism, login, password):
        ok = self._user is not None and login == self._user and password == self._password
        self._recorder.write("AUTH", session.sid, [("mechanism", mechanism), ("login", login),
                                                   ("password", password),
                                                   ("result", "ok" if ok else "fail")])
        return ok

    def authenticator(self, server, session, envelope, mechanism, auth_data):
        ok = self.check(session, mechanism, auth_data.login, auth_data.password)
        return AuthResult(success=ok, handled=False, auth_data=auth_data if ok else None)

    async def handle_AUTH(self, server, session, envelope, args):
        # "AUTH LOGIN PLAIN": prompts and answers in plain text.
        if [a.upper() for a in args] != ["LOGIN", "PLAIN"]:
            return MISSING
        await server.push("334 Username:")
        login = (await server._reader.readline()).rstrip(b"\r\n")
        await server.push("334 Password:")
        password = (await server._reader.readline()).rstrip(b"\r\n")
        if not self.check(session, "LOGIN PLAIN", login, password):
            return "535 5.7.8 Authentication credentials invalid"
        session.authenticated = True
        session.auth_data = login
        return "235 2.7.0 Authentication successful"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        # A recipient told to come back later: a temporary refusal.
        if address in self._deferred:
            self._recorder.write("DEFERRED", session.sid, [("to", address)])
            return "451 4.3.0 Try again later"
        return MISSING

    async def handle_DATA(self, server, session, envelope):
        self._messages += 1
        if self._hangup_after is not None and self._messages > self._hangup_after:
            # The server stops in the middle of the dialogue.
            os._exit(3)
        fields = [("from", envelope.mail_from)]
        fields += [("to", rcpt) for rcpt in envelope.rcpt_tos]
        login = getattr(session.auth_data, "login", session.auth_data)
        fields.append(("login", login or b""))
        fields.append(("data", envelope.original_content))
        self._recorder.write("MESSAGE", session.sid, fields)
        return "250 2.0.0 OK"

    async def handle_QUIT(self, server, session, envelope):
        self._recorder.write("QUIT", session.sid)
        return MISSING


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--record", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--require-auth", action="store_true")
    parser.add_argument("--hangup-after", type=int)
    parser.add_argument("--defer", action="append", default=[])
    args = parser.parse_args()
    if not args.host.startswith("127."):
        sys.exit("the test server listens on loopback only")

    recorder = Recorder(args.record)
    handler = Handler(recorder, args.user, args.password, args.hangup_after, args.defer)
    sessions = itertools.count(1)

    class RecordingSMTP(SMTP):
        def _create_session(self):
            session = super()._create_session()
            session.sid = next(sessions)
            recorder.write("CONNECT", session.sid)
            return session

    def factory():
        return RecordingSMTP(handler, hostname="corvane-test", auth_require_tls=False,
                             auth_required=args.require_auth,
                             authenticator=handler.authenticator if args.user else None)

    loop = asyncio.new_event_loop()
    server = loop.run_until_complete(loop.create_server(factory, args.host, args.port))
    print(f"PORT {server.sockets[0].getsockname()[1]}", flush=True)
    loop.add_signal_handler(signal.SIGTERM, loop.stop)
    loop.run_forever()
    server.close()


if __name__ == "__main__":
    main()
