<html>
<body>
<!-- <template /> -->
<p>Fin du sommaire <!-- <template target="x" /> --></p>
</body>
</html>
