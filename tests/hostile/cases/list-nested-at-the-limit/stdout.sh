printf 'Quorvane - compiled on <stamp>\n\nTraitement du fichier "liste.xml"\n'
printf 'Traitement du fichier "p.html"\n%.0s' {1..255}
