<?php
// A query to the advertisers of directory records. The values arrive as typed (not URL-encoded), so
// a "&" typed by the user cannot be told from the program's own. The comment comes last: all that
// follows "&nota=" is the comment, "&" included. The fields before it are split at "&"; a request in
// which a field name repeats (a name typed as "Ana&to=someone@example.com") is refused, so no one
// can add recipients. Checks every address of "to" (one per ";"), then spools the request for the
// mailer. Answers in "Error-Number" (0: accepted) and "Error-String".
declare(strict_types=1);
require __DIR__ . '/ot_common.php';

ot_serve_form(function (string $body, array $fields): void {
    $at = strpos($body, '&nota=');
    $note = $at === false ? '' : substr($body, $at + 6);
    $fields = ot_fields($at === false ? $body : substr($body, 0, $at));
    $names = array_column($fields, 0);
    if (count($names) !== count(array_unique($names))) {
        ot_answer(3, 'Solicitud mal formada');
        return;
    }
    if (ot_field($fields, 'type') !== 'consulta') {
        ot_answer(3, 'Tipo de solicitud desconocido');
        return;
    }
    $to = [];
    foreach (explode(';', ot_field($fields, 'to') ?? '') as $address) {
        $address = trim($address);
        if ($address !== '') {
            $to[] = $address;
        }
    }
    if (count($to) === 0) {
        ot_answer(4, "Ninguna direcci\xF3n de destino");
        return;
    }
    foreach ($to as $address) {
        if (!ot_valid_address($address)) {
            ot_answer(7, "Mail inv\xE1lido: " . $address);
            return;
        }
    }
    $entry = [
        'type' => 'consulta',
        'received' => gmdate('c'),
        'date' => ot_utf8(ot_field($fields, 'Date') ?? ''),
        'from' => ot_utf8(ot_field($fields, 'from') ?? ''),
        'from_name' => ot_utf8(ot_field($fields, 'nombre') ?? ''),
        'to' => array_map('ot_utf8', $to),
        'subject' => ot_utf8(ot_field($fields, 'subject') ?? ''),
        'note' => ot_utf8($note),
        'body' => base64_encode($body),
    ];
    if (!ot_spool($entry)) {
        ot_answer(6, "El mensaje no pudo registrarse; intente m\xE1s tarde");
        return;
    }
    ot_answer(0, 'Consulta enviada');
});
