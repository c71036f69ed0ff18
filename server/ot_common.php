<?php
// What the three scripts share: the sealing key, unsealing, the program's URL decoding, the
// answer header fields and the spool of accepted requests.
declare(strict_types=1);

if (realpath($_SERVER['SCRIPT_FILENAME'] ?? '') === __FILE__) {
    http_response_code(404); // a library, not a page
    exit;
}

const OT_KEY = 'Rw4Jt8pYv2N';
// A request body larger than this is refused unread (200 records take about 60 KB).
const OT_MAX_BODY = 1048576;

// The text a sealed form stands for, or null when it is not strict Base64.
function ot_unseal(string $sealed): ?string
{
    $bytes = base64_decode($sealed, true);
    if ($bytes === false || base64_encode($bytes) !== $sealed) {
        return null;
    }
    $key = OT_KEY;
    $keyLength = strlen($key);
    $out = '';
    $n = strlen($bytes);
    for ($i = 0; $i < $n; $i++) {
        $out .= chr((ord($bytes[$i]) - ord($key[$i % $keyLength]) + 256) & 0xFF);
    }
    return $out;
}

// The reverse of the program's URL encoding: only its 18 codes are decoded ("%" and every other
// byte travel as they are), and %5C stands for the apostrophe.
function ot_url_decode(string $text): string
{
    static $codes = [
        '%0D' => "\r", '%0A' => "\n", '%20' => ' ', '%21' => '!', '%22' => '"', '%23' => '#',
        '%24' => '$', '%26' => '&', '%28' => '(', '%29' => ')', '%2A' => '*', '%2B' => '+',
        '%2F' => '/', '%3C' => '<', '%3D' => '=', '%3E' => '>', '%3F' => '?', '%5C' => "'",
    ];
    return strtr($text, $codes);
}

// The fields of an unsealed body "Date=...&name=value&...", in order; values as they came.
function ot_fields(string $body): array
{
    $fields = [];
    foreach (explode('&', $body) as $pair) {
        $eq = strpos($pair, '=');
        if ($eq === false) {
            $fields[] = [$pair, ''];
        } else {
            $fields[] = [substr($pair, 0, $eq), substr($pair, $eq + 1)];
        }
    }
    return $fields;
}

function ot_field(array $fields, string $name): ?string
{
    foreach ($fields as [$n, $v]) {
        if ($n === $name) {
            return $v;
        }
    }
    return null;
}

// Windows-1252 (what the program sends) to UTF-8 (what the spool holds).
function ot_utf8(string $windows1252): string
{
    $out = @iconv('WINDOWS-1252', 'UTF-8//IGNORE', $windows1252);
    return $out === false ? '' : $out;
}

function ot_valid_address(string $address): bool
{
    return strlen($address) <= 254 && preg_match('/^[^\s@;,<>"]+@[^\s@;,<>"]+\.[^\s@;,<>".]+$/', $address) === 1;
}

// The answer the program reads: two header fields (the text in Windows-1252) and a short page.
function ot_answer(int $number, string $text): void
{
    header('Content-Type: text/html; charset=windows-1252');
    // Header values must not carry line breaks.
    header('Error-Number: ' . $number);
    header('Error-String: ' . str_replace(["\r", "\n"], ' ', $text));
    echo '<html><body><p>', htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE, 'Windows-1252'),
        '</p></body></html>';
}

// Appends one JSON line to the spool (ORTELIA_SPOOL, or spool/requests.jsonl next to the scripts),
// under an exclusive lock. False when it cannot be written.
function ot_spool(array $entry): bool
{
    $path = getenv('ORTELIA_SPOOL');
    if ($path === false || $path === '') {
        $path = __DIR__ . '/spool/requests.jsonl';
    }
    $dir = dirname($path);
    if (!is_dir($dir) && !@mkdir($dir, 0770, true)) {
        return false;
    }
    $line = json_encode($entry, JSON_UNESCAPED_UNICODE | JSON_UNESCAPED_SLASHES | JSON_INVALID_UTF8_SUBSTITUTE);
    if ($line === false) {
        return false;
    }
    return @file_put_contents($path, $line . "\n", FILE_APPEND | LOCK_EX) !== false;
}

// Runs a form script: HEAD and GET get an empty page of type text/html (the program's check that
// the script answers); POST gets its unsealed body passed to $accept, which answers.
function ot_serve_form(callable $accept): void
{
    $method = $_SERVER['REQUEST_METHOD'] ?? 'GET';
    if ($method === 'HEAD' || $method === 'GET') {
        header('Content-Type: text/html; charset=windows-1252');
        echo '<html><body></body></html>';
        return;
    }
    if ($method !== 'POST') {
        http_response_code(405);
        ot_answer(1, 'Solicitud incorrecta');
        return;
    }
    $length = (int)($_SERVER['CONTENT_LENGTH'] ?? 0);
    if ($length > OT_MAX_BODY) {
        ot_answer(1, 'Solicitud demasiado extensa');
        return;
    }
    $input = file_get_contents('php://input', false, null, 0, OT_MAX_BODY + 1);
    if ($input === false || strncmp($input, 'p=', 2) !== 0 || strlen($input) > OT_MAX_BODY) {
        ot_answer(1, 'Solicitud incompleta');
        return;
    }
    $sealed = rawurldecode(substr($input, 2));
    $body = ot_unseal($sealed);
    if ($body === null || strncmp($body, 'Date=', 5) !== 0) {
        ot_answer(2, 'Solicitud ilegible');
        return;
    }
    $accept($body, ot_fields($body));
}
