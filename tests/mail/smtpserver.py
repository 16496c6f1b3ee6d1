#!/usr/bin/python3
"""A mail server on the loopback address for the mail tests (aiosmtpd).

Prints "PORT <n>" once it listens, then serves until killed. Each message
received is written whole to the mailbox folder as <n>.eml, read by Python's
own e-mail parser into <n>.json (headers decoded, the plain text, each
attachment saved as <n>_<file name>), then its recipients are added to
received.log, one per line.

  smtpserver.py --mailbox DIR [--cert PEM --key PEM] [--user U --password P]
                [--refuse ADDRESS]... [--defer ADDRESS:COUNT]...
                [--hang-after N] [--port P]

--refuse: 550 at RCPT TO for that address, for good.
--defer: 451 at RCPT TO for that address the first COUNT times.
--hang-after: after storing N messages, the next message is stored and then
              no answer comes (the client cannot know it arrived).
"""
import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import ssl
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


class Handler:
    def __init__(self, args):
        self.args = args
        self.refused = {a.lower() for a in args.refuse}
        self.deferrals = {}
        for item in args.defer:
            address, count = item.rsplit(":", 1)
            self.deferrals[address.lower()] = int(count)
        self.stored = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        key = address.lower()
        if key in self.refused:
            return "550 5.1.1 Indirizzo inesistente: %s" % address
        if self.deferrals.get(key, 0) > 0:
            self.deferrals[key] -= 1
            return "451 4.3.0 Casella temporaneamente non disponibile, riprovare"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    def summarise(self, base, envelope):
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        header_end = raw.find(b"\r\n\r\n")
        summary = {
            "envelope_to": envelope.rcpt_tos,
            "envelope_from": envelope.mail_from,
            "raw_headers": raw[:header_end].decode("ascii", "replace"),
            "headers": {k.lower(): str(v) for k, v in message.items()},
            "attachments": [],
        }
        body = message.get_body(("plain",))
        summary["text"] = body.get_content() if body is not None else None
        summary["text_charset"] = body.get_content_charset() if body is not None else None
        for part in message.iter_attachments():
            data = part.get_payload(decode=True)
            filename = part.get_filename()
            path = base + "_" + filename
            with open(path, "wb") as f:
                f.write(data)
            summary["attachments"].append({"filename": filename, "type": part.get_content_type(),
                                           "encoding": part.get("Content-Transfer-Encoding", ""),
                                           "size": len(data), "path": path})
        with open(base + ".json", "w", encoding="utf-8") as f:
            json.dump(summary, f, ensure_ascii=False, indent=1)

    async def handle_DATA(self, server, session, envelope):
        self.stored += 1
        name = os.path.join(self.args.mailbox, "%05d.eml" % self.stored)
        with open(name + ".tmp", "wb") as f:
            f.write(envelope.original_content)
        os.replace(name + ".tmp", name)
        self.summarise(name[:-4], envelope)
        with open(os.path.join(self.args.mailbox, "received.log"), "a") as log:
            for rcpt in envelope.rcpt_tos:
                log.write(rcpt + "\n")
        if self.args.hang_after and self.stored > self.args.hang_after:
            await asyncio.sleep(3600)
        return "250 2.0.0 Ricevuto come %05d" % self.stored


def main():
    # aiosmtpd logs a warning about its own use of a deprecated attribute at
    # each login.
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    parser = argparse.ArgumentParser()
    parser.add_argument("--mailbox", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--defer", action="append", default=[])
    parser.add_argument("--hang-after", type=int, default=0)
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()

    def authenticate(server, session, envelope, mechanism, auth_data):
        if isinstance(auth_data, LoginPassword) and auth_data.login.decode() == args.user \
                and auth_data.password.decode() == args.password:
            return AuthResult(success=True)
        return AuthResult(success=False, handled=False)

    kwargs = {}
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
        kwargs.update(tls_context=context, require_starttls=True)
    if args.user:
        kwargs.update(authenticator=authenticate, auth_required=True, auth_require_tls=bool(args.cert))

    port = args.port
    if port == 0:
        import socket
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
    controller = Controller(Handler(args), hostname="127.0.0.1", port=port,
                            server_hostname="localhost", ready_timeout=10, **kwargs)
    controller.start()
    print("PORT %d" % port, flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass
    finally:
        controller.stop()


if __name__ == "__main__":
    sys.exit(main())
