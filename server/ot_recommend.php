<?php
// Recommendation of directory records to a friend. Checks the recipient address and that at least
// one record came, then spools the request for the mailer. Answers in "Error-Number" (0: accepted)
// and "Error-String".
declare(strict_types=1);
require __DIR__ . '/ot_common.php';

ot_serve_form(function (string $body, array $fields): void {
    if (ot_field($fields, 'type') !== 'recomendar') {
        ot_answer(3, 'Tipo de solicitud desconocido');
        return;
    }
    $to = trim(ot_url_decode(ot_field($fields, 'to') ?? ''));
    if (!ot_valid_address($to)) {
        ot_answer(4, "Direcci\xF3n del destinatario inv\xE1lida");
        return;
    }
    $records = [];
    foreach ($fields as [$name, $value]) {
        if (preg_match('/^par\[(\d+)\]$/', $name) !== 1) {
            continue;
        }
        $parts = explode('|', ot_url_decode($value));
        array_pop($parts); // every field ends with "|"
        $record = [
            'name' => ot_utf8($parts[0] ?? ''), 'address' => ot_utf8($parts[1] ?? ''),
            'phone' => ot_utf8($parts[2] ?? ''), 'rubro' => ot_utf8($parts[3] ?? ''),
            'locality' => ot_utf8($parts[4] ?? ''), 'province' => ot_utf8($parts[5] ?? ''),
            'web' => ot_utf8($parts[6] ?? ''), 'mail' => ot_utf8($parts[7] ?? ''),
            'ad_kind' => ($parts[8] ?? '') === '' ? null : (int)$parts[8],
            'ad_reference' => ($parts[9] ?? '') === '' ? null : (int)$parts[9],
        ];
        if (isset($parts[10])) {
            $lines = explode(']]', $parts[10]);
            array_pop($lines);
            $record['ad_lines'] = array_map('ot_utf8', $lines);
        }
        $records[] = $record;
    }
    if (count($records) === 0) {
        ot_answer(5, "Ning\xFAn registro recomendado");
        return;
    }
    $entry = [
        'type' => 'recomendar',
        'received' => gmdate('c'),
        'date' => ot_utf8(ot_field($fields, 'Date') ?? ''),
        'from' => ot_utf8(ot_url_decode(ot_field($fields, 'from') ?? '')),
        'from_name' => ot_utf8(ot_url_decode(ot_field($fields, 'fnombre') ?? '')),
        'to' => ot_utf8($to),
        'subject' => ot_utf8(ot_url_decode(ot_field($fields, 'subject') ?? '')),
        'note' => ot_utf8(ot_url_decode(ot_field($fields, 'nota') ?? '')),
        'records' => $records,
        'body' => base64_encode($body),
    ];
    if (!ot_spool($entry)) {
        ot_answer(6, "El mensaje no pudo registrarse; intente m\xE1s tarde");
        return;
    }
    ot_answer(0, 'Mensaje enviado');
});
