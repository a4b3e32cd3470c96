<html>
<body>
  <!-- la liste vient ici -->
</body>
</html>
