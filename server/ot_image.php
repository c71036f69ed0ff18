<?php
// An ad kept on the server: "?p=" + the sealed "iid=" + the ad's reference (16 digits). Serves the
// picture of that number from the server's "Img.bld" (ORTELIA_IMAGES, or Img.bld next to the
// scripts), or answers 404.
//
// Img.bld (integers 32-bit little-endian): magic "ORTIMG" 0x00 0x01; the highest picture number N;
// 4 reserved bytes; N entries of offset and length (both 0: no such picture); the pictures, each a
// complete PNG or JPEG file.
declare(strict_types=1);
require __DIR__ . '/ot_common.php';

function ot_not_found(): void
{
    http_response_code(404);
    header('Content-Type: text/html; charset=windows-1252');
    echo '<html><body><p>Aviso no encontrado</p></body></html>';
}

function ot_picture(string $path, int $number): ?string
{
    $f = @fopen($path, 'rb');
    if ($f === false) {
        return null;
    }
    try {
        $size = fstat($f)['size'];
        $head = fread($f, 16);
        if ($head === false || strlen($head) !== 16 || substr($head, 0, 8) !== "ORTIMG\x00\x01") {
            return null;
        }
        $highest = unpack('V', $head, 8)[1];
        if ($number < 1 || $number > $highest || $number > 1000000) {
            return null;
        }
        if (fseek($f, 16 + 8 * ($number - 1)) !== 0) {
            return null;
        }
        $entry = fread($f, 8);
        if ($entry === false || strlen($entry) !== 8) {
            return null;
        }
        [, $offset, $length] = unpack('V2', $entry);
        if ($offset === 0 || $length === 0 || $offset + $length > $size || fseek($f, $offset) !== 0) {
            return null;
        }
        $bytes = fread($f, $length);
        return $bytes !== false && strlen($bytes) === $length ? $bytes : null;
    } finally {
        fclose($f);
    }
}

$query = $_SERVER['QUERY_STRING'] ?? '';
$sealed = strncmp($query, 'p=', 2) === 0 ? rawurldecode(substr($query, 2)) : '';
$text = ot_unseal($sealed);
if ($text === null || preg_match('/^iid=(-?\d{1,16})$/', $text, $m) !== 1) {
    ot_not_found();
    return;
}
$images = getenv('ORTELIA_IMAGES');
if ($images === false || $images === '') {
    $images = __DIR__ . '/Img.bld';
}
$picture = ot_picture($images, (int)$m[1]);
if ($picture === null) {
    ot_not_found();
    return;
}
header('Content-Type: ' . (strncmp($picture, "\x89PNG", 4) === 0 ? 'image/png' : 'image/jpeg'));
header('Content-Length: ' . strlen($picture));
echo $picture;
