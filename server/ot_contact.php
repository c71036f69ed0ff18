<?php
// A query to the advertisers of directory records. The values arrive as typed (not URL-encoded):
// the body is split at every "&" and "=", so a comment holding "&" loses what follows it up to
// the next field. Checks every address of "to" (one per ";"), then spools the request for the
// mailer. Answers in "Error-Number" (0: accepted) and "Error-String".
declare(strict_types=1);
require __DIR__ . '/ot_common.php';

ot_serve_form(function (string $body, array $fields): void {
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
        'note' => ot_utf8(ot_field($fields, 'nota') ?? ''),
        'body' => base64_encode($body),
    ];
    if (!ot_spool($entry)) {
        ot_answer(6, "El mensaje no pudo registrarse; intente m\xE1s tarde");
        return;
    }
    ot_answer(0, 'Consulta enviada');
});
